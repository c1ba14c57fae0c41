#include "host/rib_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "abi/scene_record.h"
#include "host/pov_text.h"
#include "host/record_fields.h"
#include "host/rib_meshes.h"
#include "host/rib_text.h"
#include "host/scene_camera.h"
#include "math/transform.h"

namespace lumetra::host {
namespace rib {

std::ostream& operator<<(std::ostream& out, const Triple& t) {
  return out << "[" << t.x << " " << t.y << " " << t.z << "]";
}

void WriteMatrix(std::ostream& out, const math::Matrix4& m) {
  out << "[";
  for (size_t i = 0; i < m.Elements().size(); ++i) out << (i ? " " : "") << m.Elements()[i];
  out << "]";
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c == '\n' || c == '\r' ? ' ' : c;
  }
  return quoted + "\"";
}

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

math::Vector3 ToVector(const pov::Vec& v) { return {v.x, v.y, v.z}; }

// Scale, then the host's rotation (the other way round from the right-hand rule's), then
// translation.
math::Transform Placement(const double (&scale)[3], const double (&rotate)[3], const double (&translate)[3]) {
  math::Transform placement;
  placement.Scale(ToVector(pov::SoundScale(scale)));
  math::Transform turn;
  turn.RotateEuler(-rotate[0] * kRadiansPerDegree, -rotate[1] * kRadiansPerDegree,
                   -rotate[2] * kRadiansPerDegree);
  placement.Compose(turn);
  math::Transform move;
  move.Translate({translate[0], translate[1], translate[2]});
  placement.Compose(move);
  return placement;
}

}  // namespace

math::Matrix4 ObjectMatrix(const abi::ParamRecord& p) {
  math::Transform placement;
  if (p.hasLocal) placement = Placement(p.localScale, p.localRotate, p.localTranslate);
  placement.Compose(Placement(p.scale, p.rotate, p.translate));
  return placement.Matrix();
}

}  // namespace rib

namespace {

using rib::Triple;
using rib::TripleOf;

// Lights fading over a shorter distance do not fade.
constexpr double kShortestFade = 0.00001;

std::string KindName(uint32_t type) {
  const ObjectTypeLayout* layout = FindObjectType(type);
  return layout ? std::string(layout->name) : "type " + std::to_string(type);
}

math::Vector3 Normalized(const math::Vector3& v) {
  const double length = math::Length(v);
  return length > 0 ? v * (1 / length) : v;
}

// RenderMan's camera space: x right, y up, z away from the eye. The matrix takes scene
// points there; its rows are those of row-vector points (math::Matrix4's convention).
math::Matrix4 WorldToCamera(const SceneView& view) {
  const math::Vector3 forward = Normalized(view.interest - view.location);
  math::Vector3 right = math::Cross(forward, view.up);
  // An up direction along the line of sight leaves the roll free: any will do.
  if (math::Length(right) < 1e-12)
    right =
        math::Cross(forward, std::fabs(forward.y) < 0.9 ? math::Vector3{0, 1, 0} : math::Vector3{0, 0, 1});
  right = Normalized(view.leftHanded ? -right : right);
  const math::Vector3 up = view.leftHanded ? math::Cross(forward, right) : math::Cross(right, forward);
  const math::Vector3 axes[3] = {right, up, forward};
  math::Matrix4 m;
  for (int column = 0; column < 3; ++column) {
    m(0, column) = axes[column].x;
    m(1, column) = axes[column].y;
    m(2, column) = axes[column].z;
    m(3, column) = -math::Dot(view.location, axes[column]);
  }
  return m;
}

void WriteOptions(const Scene& scene, const RibOptions& options, std::ostream& out) {
  const int32_t width = options.width > 0 ? options.width : static_cast<int32_t>(scene.render.width);
  const int32_t height = options.height > 0 ? options.height : static_cast<int32_t>(scene.render.height);
  const SceneView view = ActiveSceneView(scene);
  out << "Display " << rib::Quoted(options.display) << " \"file\" \"rgb\"\n"
      << "Format " << width << " " << height << " 1\n";
  const int samples = scene.render.antialias ? 3 : 1;
  out << "PixelSamples " << samples << " " << samples << "\n";
  // The angle of the picture's height, and a screen as wide as the camera's aspect: the
  // ray tracer's view whatever the picture's own proportions.
  out << "Projection \"perspective\" \"fov\" [" << VerticalAngle(view.horizontalAngle, view.aspect) << "]\n"
      << "ScreenWindow " << -view.aspect << " " << view.aspect << " -1 1\n";
  if (view.fromCamera) {
    out << "# camera \"" << pov::CommentText(view.cameraName) << "\"\n";
  } else {
    out << "# no active camera: the ray tracer's default view\n";
  }
  // The standard background imager, and the light parameters this writer gives beyond
  // RenderMan's own (lumetra-rib reads them).
  out << "Declare \"bgcolor\" \"uniform color\"\nDeclare \"falloff\" \"uniform float\"\n"
      << "Declare \"falloffdistance\" \"uniform float\"\nDeclare \"shadows\" \"uniform string\"\n"
      << "Imager \"background\" \"bgcolor\" " << TripleOf(scene.environment.background) << "\n";
  out << "Transform ";
  rib::WriteMatrix(out, WorldToCamera(view));
  out << "\n";
}

// Lights are written first, at world level, in world coordinates: a light inside an
// attribute block would be switched off at its end, before the objects after it.
class LightWriter {
 public:
  LightWriter(const Scene& scene, std::ostream& out) : scene_(scene), out_(out) {}

  void Walk(const SceneObject& object, const math::Matrix4& parent) {
    if ((object.flags & abi::kFlagRender) == 0) return;
    const math::Matrix4 placed = rib::ObjectMatrix(object.params) * parent;
    if (IsLightType(object.type)) Light(object, placed);
    for (const uint32_t id : object.children) {
      if (const SceneObject* child = scene_.Find(id)) Walk(*child, placed);
    }
  }

  void Ambient(const abi::EnvironmentRecord& environment) {
    out_ << "LightSource \"ambientlight\" " << ++count_ << " \"lightcolor\" " << TripleOf(environment.ambient)
         << " \"intensity\" [1]\n";
  }

 private:
  void Light(const SceneObject& object, const math::Matrix4& placed) {
    const abi::LightParams& light = object.data.shape.light;
    const math::Vector3 from = math::MapPoint({0, 0, 0}, placed);
    out_ << "# light \"" << pov::CommentText(object.name) << "\"";
    if (object.type == abi::kTypeAreaLight) out_ << ": an area light, given as a point at its centre";
    out_ << "\n";
    if (object.type == abi::kTypeSpotLight) {
      // The spot shines down its own -z; full strength within the radius, none past the falloff.
      const math::Vector3 to = math::MapPoint({0, 0, -2}, placed);
      const double cone = light.falloff * std::numbers::pi / 180;
      const double delta = std::max(0.0, light.falloff - light.radius) * std::numbers::pi / 180;
      out_ << "LightSource \"spotlight\" " << ++count_ << " \"from\" " << TripleOf(from) << " \"to\" "
           << TripleOf(to) << " \"coneangle\" [" << cone << "] \"conedeltaangle\" [" << delta << "]";
    } else {
      out_ << "LightSource \"pointlight\" " << ++count_ << " \"from\" " << TripleOf(from);
    }
    out_ << " \"lightcolor\" " << TripleOf(light.color) << " \"intensity\" [1]";
    // The ray tracer's lights keep their strength unless they fade (halved at the fade
    // distance, by the distance or its square) and cast shadows unless told not to.
    const bool fades = light.fadePower >= 0.5 && light.fadeDistance > kShortestFade;
    out_ << " \"falloff\" [" << (fades ? (light.fadePower < 1.5 ? 1 : 2) : 0) << "]";
    if (fades) out_ << " \"falloffdistance\" [" << light.fadeDistance << "]";
    out_ << " \"shadows\" [\"" << ((object.flags & abi::kFlagNoShadows) ? "off" : "on") << "\"]\n";
  }

  const Scene& scene_;
  std::ostream& out_;
  int count_ = 0;
};

// The unit shapes of the ray tracer as RIB geometry.
class ObjectWriter {
 public:
  ObjectWriter(const Scene& scene, std::ostream& out) : scene_(scene), files_(scene, nullptr), out_(out) {}

  // Inside a solid every member must itself be a solid: groups become unions and shapes
  // primitives. `textureOwner`, when set, lends the object its material (a clone's own
  // material replaces its source's).
  void Write(const SceneObject& object, int depth, bool inSolid, const SceneObject* textureOwner = nullptr);

 private:
  std::string Indent(int depth) const { return std::string(2 * static_cast<size_t>(depth), ' '); }
  void Comment(int depth, const SceneObject& object, const std::string& why) {
    out_ << Indent(depth) << "# \"" << pov::CommentText(object.name) << "\": " << why << "\n";
  }
  void Begin(const SceneObject& object, int depth, const SceneObject* textureOwner = nullptr);
  void Shape(const SceneObject& object, int depth, const rib::PolygonMesh& mesh);
  void Box(const std::string& indent);
  void Mesh(const SceneObject& object, const std::string& indent);
  void SplineMesh(const SceneObject& object, const std::string& indent);

  const Scene& scene_;
  pov::SceneFiles files_;
  std::ostream& out_;
};

void ObjectWriter::Begin(const SceneObject& object, int depth, const SceneObject* textureOwner) {
  const std::string indent = Indent(depth + 1);
  out_ << Indent(depth) << "AttributeBegin  # \"" << pov::CommentText(object.name) << "\"\n"
       << indent << "ConcatTransform ";
  rib::WriteMatrix(out_, rib::ObjectMatrix(object.params));
  out_ << "\n";
  rib::WriteSurface(scene_, (textureOwner ? *textureOwner : object).textureName, out_, indent);
}

void ObjectWriter::Write(const SceneObject& object, int depth, bool inSolid,
                         const SceneObject* textureOwner) {
  if ((object.flags & abi::kFlagRender) == 0) return Comment(depth, object, "not rendered");
  const uint32_t type = object.type;
  if (IsLightType(type)) return;  // written with the lights
  if (type == abi::kTypeGroup || type == abi::kTypeCsg) {
    // Merge differs from union only inside, which RIB's surfaces do not show.
    static constexpr const char* kOperations[] = {"union", "intersection", "difference", "union"};
    const uint32_t operation = type == abi::kTypeGroup ? 0 : object.data.shape.csg.operation;
    if (operation >= std::size(kOperations)) {
      return Comment(depth, object, "CSG operation " + std::to_string(operation) + " is not written");
    }
    if (object.children.empty()) return Comment(depth, object, "empty group, nothing to render");
    const bool solid = inSolid || type == abi::kTypeCsg;
    Begin(object, depth);
    if (solid) out_ << Indent(depth + 1) << "SolidBegin \"" << kOperations[operation] << "\"\n";
    for (const uint32_t id : object.children) {
      if (const SceneObject* child = scene_.Find(id)) Write(*child, depth + (solid ? 2 : 1), solid);
    }
    if (solid) out_ << Indent(depth + 1) << "SolidEnd\n";
    out_ << Indent(depth) << "AttributeEnd\n";
    return;
  }
  if (type == abi::kTypeClone) {
    // The source's shape with its own transform and material, placed by the clone's
    // transform; the clone's material, when it has one, replaces the source's.
    const SceneObject* source = scene_.Find(object.linkA);
    if (!source || source == &object || (source->flags & abi::kFlagRender) == 0)
      return Comment(depth, object, "the clone's source is missing or not rendered");
    // Clones of clones can close a ring; no scene nests this deep otherwise.
    if (depth > kDeepestClone) return Comment(depth, object, "clones of clones go round in a ring");
    Begin(object, depth);
    Write(*source, depth + 1, inSolid, object.textureName.empty() ? nullptr : &object);
    out_ << Indent(depth) << "AttributeEnd\n";
    return;
  }
  if (!RibWritesObjectType(type) || (type == abi::kTypePluginObject && !HasTriangles(object)))
    return Comment(depth, object, "the " + KindName(type) + " object is not written");
  if (HasTriangles(object) && object.mesh.faces.empty()) return Comment(depth, object, "mesh without faces");
  rib::PolygonMesh mesh;
  if (!IsPlainShapeType(type) && !HasTriangles(object) && type != abi::kTypeSplineMesh) {
    if (const std::string why = rib::KindMesh(object, files_, mesh); !why.empty())
      return Comment(depth, object, why);
  }
  Begin(object, depth, textureOwner);
  if (inSolid) out_ << Indent(depth + 1) << "SolidBegin \"primitive\"\n";
  Shape(object, depth + (inSolid ? 2 : 1), mesh);
  if (inSolid) out_ << Indent(depth + 1) << "SolidEnd\n";
  out_ << Indent(depth) << "AttributeEnd\n";
}

void ObjectWriter::Shape(const SceneObject& object, int depth, const rib::PolygonMesh& mesh) {
  const std::string indent = Indent(depth);
  const auto& shape = object.data.shape;
  switch (object.type) {
    case abi::kTypeBox:
      return Box(indent);
    case abi::kTypeSphere:
      out_ << indent << "Sphere 1 -1 1 360\n";
      return;
    case abi::kTypeCylinder:
      out_ << indent << "Cylinder 1 0 1 360\n";
      if (!shape.cylinder.open) out_ << indent << "Disk 0 1 360\n" << indent << "Disk 1 1 360\n";
      return;
    case abi::kTypeCone: {
      // From the base radius at z = 0 to the apex radius at z = 1: a hyperboloid of two
      // circles on one line, which is a cone cut straight.
      const double lower = shape.cone.lowerRadius, upper = shape.cone.upperRadius;
      if (upper == 0) {
        out_ << indent << "Cone 1 " << lower << " 360\n";
      } else {
        out_ << indent << "Hyperboloid " << Triple{lower, 0, 0} << " " << Triple{upper, 0, 1} << " 360\n";
      }
      if (!shape.cone.open) {
        if (lower > 0) out_ << indent << "Disk 0 " << lower << " 360\n";
        if (upper > 0) out_ << indent << "Disk 1 " << upper << " 360\n";
      }
      return;
    }
    case abi::kTypeTorus:
      // Both lie around z.
      out_ << indent << "Torus " << shape.torus.majorRadius << " " << shape.torus.minorRadius
           << " 0 360 360\n";
      return;
    case abi::kTypePlane:
      out_ << indent << "Disk 0 " << kPlaneRadius << " 360\n";
      return;
    case abi::kTypeDisc:
      if (shape.disc.innerRadius > 0) {
        out_ << indent << "Hyperboloid " << Triple{shape.disc.innerRadius, 0, 0} << " " << Triple{1, 0, 0}
             << " 360\n";
      } else {
        out_ << indent << "Disk 0 1 360\n";
      }
      return;
    case abi::kTypeSplineMesh:
      return SplineMesh(object, indent);
    default:
      if (HasTriangles(object)) return Mesh(object, indent);
      out_ << indent;
      rib::WritePolygonMesh(out_, mesh);
  }
}

void ObjectWriter::Box(const std::string& indent) {
  out_ << indent
       << "PointsPolygons [4 4 4 4 4 4] [0 2 3 1 4 5 7 6 0 1 5 4 2 6 7 3 0 4 6 2 1 3 7 5] \"P\" [-1 -1 -1 1 "
          "-1 -1 "
          "-1 1 -1 1 1 -1 -1 -1 1 1 -1 1 -1 1 1 1 1 1]\n";
}

void ObjectWriter::Mesh(const SceneObject& object, const std::string& indent) {
  const host::Mesh& mesh = object.mesh;
  const auto numbers = [&](const auto& values) {
    out_ << "[";
    for (size_t i = 0; i < values.size(); ++i) out_ << (i ? " " : "") << values[i];
    out_ << "]";
  };
  out_ << indent << "PointsPolygons [";
  for (uint32_t i = 0; i < mesh.FaceCount(); ++i) out_ << (i ? " 3" : "3");
  out_ << "] ";
  numbers(mesh.faces);
  out_ << " \"P\" ";
  numbers(mesh.vertices);
  if (!mesh.normals.empty() && mesh.normals.size() == mesh.vertices.size()) {
    out_ << " \"N\" ";
    numbers(mesh.normals);
  }
  out_ << "\n";
}

// Sixteen control points a patch, Bezier as the ray tracer reads them; RIB's default basis.
void ObjectWriter::SplineMesh(const SceneObject& object, const std::string& indent) {
  const std::vector<double>& points = object.splinePoints;
  const std::vector<uint32_t>& patches = object.splinePatches;
  for (size_t patch = 0; patch + 16 <= patches.size(); patch += 16) {
    const auto first = patches.begin() + static_cast<std::ptrdiff_t>(patch);
    const uint32_t highest = *std::max_element(first, first + 16);
    if (3 * size_t{highest} + 2 >= points.size()) {
      out_ << indent << "# \"" << pov::CommentText(object.name) << "\": patch " << patch / 16
           << " names control point " << highest << ", which the mesh lacks\n";
      continue;
    }
    out_ << indent << "Patch \"bicubic\" \"P\" [";
    for (size_t i = 0; i < 16; ++i) {
      const size_t index = patches[patch + i];
      out_ << (i ? " " : "") << points[3 * index] << " " << points[3 * index + 1] << " "
           << points[3 * index + 2];
    }
    out_ << "]\n";
  }
}

}  // namespace

bool RibWritesObjectType(uint32_t type) {
  switch (type) {
    case abi::kTypeSweep:
    case abi::kTypeLathe:
    case abi::kTypeExtrusion:
    case abi::kTypeHeightField:
    case abi::kTypeSplineMesh:
    case abi::kTypeClone:
    case abi::kTypeBlob:
    case abi::kTypeSuperquadric:
    case abi::kTypeText:
    case abi::kTypePluginObject:
      return true;
    default:
      return IsPlainShapeType(type) || IsLightType(type) || IsMeshType(type);
  }
}

void WriteRibScene(const Scene& scene, std::ostream& target, const RibOptions& options) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(9);
  out << "##RenderMan RIB\n# Written by lumetra";
  if (!scene.path.empty()) out << " from " << pov::CommentText(scene.path);
  out << "\n";
  WriteOptions(scene, options, out);
  out << "WorldBegin\n";
  LightWriter lights(scene, out);
  lights.Ambient(scene.environment);
  for (const uint32_t id : scene.List(abi::kObjectList)) {
    if (const SceneObject* object = scene.Find(id)) lights.Walk(*object, math::Matrix4::Identity());
  }
  // Objects without a material of their own are white matte, the ray tracer's default.
  out << "Color [1 1 1]\nSurface \"matte\"\n";
  ObjectWriter writer(scene, out);
  for (const uint32_t id : scene.List(abi::kObjectList)) {
    if (const SceneObject* object = scene.Find(id)) writer.Write(*object, 0, false);
  }
  out << "WorldEnd\n";
  target << out.str();
}

}  // namespace lumetra::host
