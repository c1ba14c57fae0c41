#include "host/pov_writer.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "abi/scene_record.h"
#include "host/pov_objects.h"
#include "host/pov_text.h"
#include "host/scene_camera.h"

namespace lumetra::host {
namespace {

using pov::Vec;
using pov::VecOf;

// The camera's field of view is horizontal; POV-Ray's angle is too, over the right vector,
// so the picture spans the same rectangle as the ray tracer's vertical angle and aspect.
void WriteCamera(const Scene& scene, std::ostream& out) {
  const SceneView view = ActiveSceneView(scene);
  const auto vec = [](const math::Vector3& v) { return Vec{v.x, v.y, v.z}; };
  if (!view.fromCamera) {
    out << "// no active camera: the ray tracer's default view\n"
        << "camera { perspective location " << vec(view.location) << " right x*" << view.aspect
        << " up y angle " << view.horizontalAngle << " look_at " << vec(view.interest) << " }\n";
    return;
  }
  out << "// camera \"" << pov::CommentText(view.cameraName) << "\"\n"
      << "camera { perspective location " << vec(view.location) << " right -x*" << view.aspect << " up y sky "
      << vec(view.up) << " angle " << view.horizontalAngle << " look_at " << vec(view.interest) << " }\n";
}

void WriteGlobals(const Scene& scene, std::ostream& out) {
  const abi::EnvironmentRecord& environment = scene.environment;
  out << "global_settings { assumed_gamma 1.0 max_trace_level " << std::max<uint32_t>(1, environment.maxDepth)
      << " adc_bailout " << environment.minWeight << " ambient_light ";
  pov::WriteColour(out, environment.ambient[0], environment.ambient[1], environment.ambient[2]);
  out << " }\nbackground { ";
  pov::WriteColour(out, environment.background[0], environment.background[1], environment.background[2]);
  // Objects without a material are white in the ray tracer; POV-Ray's own default is black.
  out << " }\n#default { pigment { rgb 1 } }\n";
}

class ObjectWriter {
 public:
  ObjectWriter(const Scene& scene, const PovOptions& options, std::ostream& out)
      : scene_(scene), files_(scene, options.fileName), out_(out) {}

  // `textureOwner`, when set, lends its texture to the object (a clone's own texture
  // replaces its source's).
  void Write(const SceneObject& object, int depth, const SceneObject* textureOwner = nullptr);

 private:
  void Indent(int depth) { out_ << std::string(2 * static_cast<size_t>(depth), ' '); }
  void Comment(int depth, const SceneObject& object, const std::string& why);
  // Opens the object's block; false (after a comment) when POV-Ray gets nothing of it.
  bool Open(const SceneObject& object, int depth);
  void Light(const SceneObject& object);
  void Mesh(const SceneObject& object, int depth);
  void Close(const SceneObject& object, const SceneObject* textureOwner);

  const Scene& scene_;
  pov::SceneFiles files_;
  std::ostream& out_;
};

void ObjectWriter::Comment(int depth, const SceneObject& object, const std::string& why) {
  Indent(depth);
  out_ << "// \"" << pov::CommentText(object.name) << "\": " << why << "\n";
}

void ObjectWriter::Write(const SceneObject& object, int depth, const SceneObject* textureOwner) {
  if ((object.flags & abi::kFlagRender) == 0) return Comment(depth, object, "not rendered");
  if (!Open(object, depth)) return;
  Close(object, textureOwner);
}

bool ObjectWriter::Open(const SceneObject& object, int depth) {
  const abi::ObjectDataBlock& data = object.data;
  const uint32_t type = object.type;
  if (type == abi::kTypeGroup || type == abi::kTypeCsg) {
    static constexpr const char* kOperations[] = {"union", "intersection", "difference", "merge"};
    const uint32_t operation = type == abi::kTypeGroup ? 0 : data.shape.csg.operation;
    if (operation >= std::size(kOperations)) {
      Comment(depth, object, "CSG operation " + std::to_string(operation) + " is not written");
      return false;
    }
    if (object.children.empty()) {
      Comment(depth, object, "empty group, nothing to render");
      return false;
    }
    Indent(depth);
    out_ << kOperations[operation] << " {  // \"" << pov::CommentText(object.name) << "\"\n";
    for (const uint32_t child : object.children) {
      if (const SceneObject* member = scene_.Find(child)) Write(*member, depth + 1);
    }
    Indent(depth);
    return true;
  }
  if (IsLightType(type)) {
    Indent(depth);
    Light(object);
    return true;
  }
  if (type == abi::kTypeClone) {
    // The ray tracer copies the source's shape with its transform and texture, then places
    // the copy with the clone's transform.
    const SceneObject* source = scene_.Find(object.linkA);
    if (!source || (source->flags & abi::kFlagRender) == 0) {
      Comment(depth, object, "the clone's source is missing or not rendered");
      return false;
    }
    if (depth > kDeepestClone) {
      Comment(depth, object, "clones of clones go round in a ring");
      return false;
    }
    Indent(depth);
    out_ << "object {  // clone \"" << pov::CommentText(object.name) << "\"\n";
    Write(*source, depth + 1, object.textureName.empty() ? nullptr : &object);
    Indent(depth);
    return true;
  }
  if (HasTriangles(object)) {
    if (object.mesh.faces.empty()) {
      Comment(depth, object, "mesh without faces");
      return false;
    }
    Mesh(object, depth);
    return true;
  }
  std::ostringstream shape;
  shape.imbue(std::locale::classic());
  shape.precision(9);
  switch (type) {
    case abi::kTypeBox:
      shape << "box { <-1, -1, -1>, <1, 1, 1>";
      break;
    case abi::kTypeSphere:
      shape << "sphere { <0, 0, 0>, 1";
      break;
    case abi::kTypeCylinder:
      shape << "cylinder { <0, 0, 0>, <0, 0, 1>, 1" << (data.shape.cylinder.open ? " open" : "");
      break;
    case abi::kTypeCone:
      shape << "cone { <0, 0, 0>, " << data.shape.cone.lowerRadius << ", <0, 0, 1>, "
            << data.shape.cone.upperRadius << (data.shape.cone.open ? " open" : "");
      break;
    case abi::kTypeTorus:
      // POV-Ray's torus lies around y; the ray tracer's around z.
      shape << "torus { " << data.shape.torus.majorRadius << ", " << data.shape.torus.minorRadius
            << (data.shape.torus.solver ? " sturm" : "") << " rotate x*90";
      break;
    case abi::kTypePlane:
      shape << "disc { <0, 0, 0>, z, " << kPlaneRadius;
      break;
    case abi::kTypeDisc:
      shape << "disc { <0, 0, 0>, z, 1, " << data.shape.disc.innerRadius;
      break;
    default:
      if (const std::string why = pov::WriteKindShape(object, files_, shape); !why.empty()) {
        Comment(depth, object, why);
        return false;
      }
  }
  Indent(depth);
  out_ << shape.str() << "  // \"" << pov::CommentText(object.name) << "\"\n";
  Indent(depth);
  return true;
}

// Fading halves the light at the fade distance in both; the ray tracer knows powers 1 and 2.
void ObjectWriter::Light(const SceneObject& object) {
  const abi::LightParams& light = object.data.shape.light;
  out_ << "light_source { <0, 0, 0> ";
  pov::WriteColour(out_, light.color[0], light.color[1], light.color[2]);
  if (object.type == abi::kTypeSpotLight) {
    out_ << " spotlight point_at <0, 0, -2> radius " << light.radius << " falloff " << light.falloff
         << " tightness " << light.tightness;
  } else if (object.type == abi::kTypeAreaLight) {
    // The ray tracer's grid spans -1..1 in x and y of the light's own space; both sample it
    // adaptively to the same depth (10 levels reach every cell of the largest grid, 1024 a side).
    out_ << " area_light <2, 0, 0>, <0, 2, 0>, " << std::max<uint32_t>(1, light.samples[0]) << ", "
         << std::max<uint32_t>(1, light.samples[1]) << " adaptive "
         << std::min<uint32_t>(light.samples[2], 10) << (light.jitter ? " jitter" : "");
  }
  if (light.fadePower >= 0.5 && light.fadeDistance > 0.00001) {
    out_ << " fade_distance " << light.fadeDistance << " fade_power " << (light.fadePower < 1.5 ? 1 : 2);
  }
  if (object.flags & abi::kFlagNoShadows) out_ << " shadowless";
  out_ << " media_interaction " << (light.volumetric ? "on" : "off") << " media_attenuation "
       << (light.attenuated ? "on" : "off") << "  // \"" << pov::CommentText(object.name) << "\"\n";
}

void ObjectWriter::Mesh(const SceneObject& object, int depth) {
  const host::Mesh& mesh = object.mesh;
  const auto list = [&](const char* name, const std::vector<double>& values) {
    if (values.empty()) return;
    Indent(depth + 1);
    out_ << name << " { " << values.size() / 3;
    for (size_t i = 0; i + 2 < values.size(); i += 3)
      out_ << ", " << Vec{values[i], values[i + 1], values[i + 2]};
    out_ << " }\n";
  };
  Indent(depth);
  out_ << "mesh2 {  // \"" << pov::CommentText(object.name) << "\"\n";
  list("vertex_vectors", mesh.vertices);
  list("normal_vectors", mesh.normals);
  if (!mesh.uvs.empty()) {
    Indent(depth + 1);
    out_ << "uv_vectors { " << mesh.uvs.size() / 3;
    for (size_t i = 0; i + 2 < mesh.uvs.size(); i += 3)
      out_ << ", <" << mesh.uvs[i] << ", " << mesh.uvs[i + 1] << ">";
    out_ << " }\n";
  }
  Indent(depth + 1);
  out_ << "face_indices { " << mesh.faces.size() / 3;
  for (size_t i = 0; i + 2 < mesh.faces.size(); i += 3)
    out_ << ", <" << mesh.faces[i] << ", " << mesh.faces[i + 1] << ", " << mesh.faces[i + 2] << ">";
  out_ << " }\n";
  Indent(depth);
}

// The local transform moves the shape before the texture is attached, so it does not
// carry the texture; the object's transform carries both.
void ObjectWriter::Close(const SceneObject& object, const SceneObject* textureOwner) {
  const abi::ParamRecord& p = object.params;
  if (p.hasLocal) {
    pov::WriteTransform(out_, p.localScale, p.localRotate, p.localTranslate);
  }
  if (!IsLightType(object.type)) {
    // A clone's texture went to its source.
    if (object.type != abi::kTypeClone)
      pov::WriteObjectTexture(scene_, textureOwner ? *textureOwner : object, out_);
    if (object.flags & abi::kFlagNoShadows) out_ << " no_shadow";
  }
  pov::WriteTransform(out_, p.scale, p.rotate, p.translate);
  out_ << " }\n";
}

}  // namespace

void WritePovScene(const Scene& scene, std::ostream& target, const PovOptions& options) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(9);
  out << "// Written by lumetra export-pov";
  if (!scene.path.empty()) out << " from " << pov::CommentText(scene.path);
  out << "\n// Render with: povray +I<this file> +W" << scene.render.width << " +H" << scene.render.height
      << " File_Gamma=1.0\n#version 3.7;\n";
  WriteGlobals(scene, out);
  WriteCamera(scene, out);
  pov::WriteMaterials(scene, pov::SceneFiles(scene, options.fileName), out);
  ObjectWriter writer(scene, options, out);
  for (const uint32_t id : scene.List(abi::kObjectList)) {
    if (const SceneObject* object = scene.Find(id)) writer.Write(*object, 0);
  }
  target << out.str();
}

}  // namespace lumetra::host
