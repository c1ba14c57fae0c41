#include "gui/wireframe.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "abi/object_params.h"
#include "abi/scene_record.h"
#include "math/transform.h"

namespace lumetra::gui {
namespace {

using math::Vector3;

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kCircleSteps = 24;
// A plane is endless; its drawing is a floor grid this far each way.
constexpr double kPlaneHalfSize = 10;
constexpr int kPlaneGridLines = 10;
// Bigger meshes are drawn by their bounding box.
constexpr size_t kMostDrawnFaces = 20000;
// Clones of clones end somewhere: a clone that leads back to itself stops here.
constexpr int kDeepestClone = 8;
constexpr double kLightStarSize = 0.3;
constexpr double kCameraPyramidDepth = 1;
constexpr double kNearPlane = 1e-3;

Vector3 ToVector(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

Vector3 Normalised(const Vector3& v) {
  const double length = math::Length(v);
  return length > 0 ? v * (1 / length) : v;
}

// Scale, then the rotations about x, y and z (the scene's angles turn the other way than
// the library's), then the move: the order the renderer places objects in.
math::Transform Placement(const double (&scale)[3], const double (&rotate)[3], const double (&translate)[3]) {
  math::Transform placement;
  placement.Scale(ToVector(scale));
  math::Transform rotation;
  rotation.RotateEuler(-rotate[0] * kRadiansPerDegree, -rotate[1] * kRadiansPerDegree,
                       -rotate[2] * kRadiansPerDegree);
  placement.Compose(rotation);
  math::Transform move;
  move.Translate(ToVector(translate));
  placement.Compose(move);
  return placement;
}

// The object's own transforms: the local one first, when it has one.
math::Transform OwnPlacement(const host::SceneObject& object) {
  const abi::ParamRecord& p = object.params;
  math::Transform placement;
  if (p.hasLocal) placement = Placement(p.localScale, p.localRotate, p.localTranslate);
  placement.Compose(Placement(p.scale, p.rotate, p.translate));
  return placement;
}

math::Transform WorldPlacement(const host::Scene& scene, const host::SceneObject& object) {
  math::Transform placement = OwnPlacement(object);
  for (const host::SceneObject* parent = scene.Find(object.parent); parent;
       parent = scene.Find(parent->parent)) {
    placement.Compose(OwnPlacement(*parent));
  }
  return placement;
}

// Lines in an object's own space, mapped into the world as they are added.
class Pen {
 public:
  Pen(std::vector<Segment>& out, const math::Transform& toWorld, uint32_t object)
      : out_(out), toWorld_(toWorld), object_(object) {}

  void Line(const Vector3& a, const Vector3& b) {
    out_.push_back({toWorld_.TransformPoint(a), toWorld_.TransformPoint(b), object_, backdrop});
  }

  bool backdrop = false;

  // A circle about `centre` in the plane of the unit axes u and v.
  void Circle(const Vector3& centre, const Vector3& u, const Vector3& v, double radius) {
    Vector3 previous = centre + u * radius;
    for (int step = 1; step <= kCircleSteps; ++step) {
      const double angle = 2 * std::numbers::pi * step / kCircleSteps;
      const Vector3 next = centre + u * (radius * std::cos(angle)) + v * (radius * std::sin(angle));
      Line(previous, next);
      previous = next;
    }
  }

  void Sphere(const Vector3& centre, double radius) {
    Circle(centre, {1, 0, 0}, {0, 1, 0}, radius);
    Circle(centre, {0, 1, 0}, {0, 0, 1}, radius);
    Circle(centre, {0, 0, 1}, {1, 0, 0}, radius);
  }

  void Box(const Vector3& low, const Vector3& high) {
    const double xs[2] = {low.x, high.x}, ys[2] = {low.y, high.y}, zs[2] = {low.z, high.z};
    for (int i = 0; i < 2; ++i) {
      for (int j = 0; j < 2; ++j) {
        Line({xs[0], ys[i], zs[j]}, {xs[1], ys[i], zs[j]});
        Line({xs[i], ys[0], zs[j]}, {xs[i], ys[1], zs[j]});
        Line({xs[i], ys[j], zs[0]}, {xs[i], ys[j], zs[1]});
      }
    }
  }

  // Two rims about the z axis joined at four places: cylinders and cones.
  void Rims(double lowerRadius, double upperRadius) {
    Circle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, lowerRadius);
    if (upperRadius > 0) Circle({0, 0, 1}, {1, 0, 0}, {0, 1, 0}, upperRadius);
    for (const auto& [x, y] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
      Line({x * lowerRadius, y * lowerRadius, 0}, {x * upperRadius, y * upperRadius, 1});
    }
  }

  // Triangles by their edges; a big mesh by its bounding box.
  void Mesh(const std::vector<double>& vertices, const std::vector<uint32_t>& faces) {
    const size_t count = vertices.size() / 3;
    const auto vertex = [&](uint32_t index) {
      return Vector3{vertices[3 * index], vertices[3 * index + 1], vertices[3 * index + 2]};
    };
    if (faces.size() / 3 > kMostDrawnFaces) {
      Vector3 low{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                  std::numeric_limits<double>::max()};
      Vector3 high = -low;
      for (uint32_t index = 0; index < count; ++index) {
        const Vector3 p = vertex(index);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
      }
      if (count > 0) Box(low, high);
      return;
    }
    for (size_t face = 0; face + 2 < faces.size(); face += 3) {
      const uint32_t corners[3] = {faces[face], faces[face + 1], faces[face + 2]};
      if (std::any_of(std::begin(corners), std::end(corners), [&](uint32_t c) { return c >= count; }))
        continue;
      for (int edge = 0; edge < 3; ++edge) Line(vertex(corners[edge]), vertex(corners[(edge + 1) % 3]));
    }
  }

 private:
  std::vector<Segment>& out_;
  const math::Transform& toWorld_;
  uint32_t object_;
};

void DrawPlane(Pen& pen) {
  pen.backdrop = true;
  for (int line = 0; line <= kPlaneGridLines; ++line) {
    const double at = -kPlaneHalfSize + 2 * kPlaneHalfSize * line / kPlaneGridLines;
    pen.Line({at, -kPlaneHalfSize, 0}, {at, kPlaneHalfSize, 0});
    pen.Line({-kPlaneHalfSize, at, 0}, {kPlaneHalfSize, at, 0});
  }
}

void DrawTorus(Pen& pen, const abi::TorusParams& torus) {
  const double major = torus.majorRadius, minor = torus.minorRadius;
  pen.Circle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, major + minor);
  if (major > minor) pen.Circle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, major - minor);
  for (const auto& [x, y] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
    pen.Circle({x * major, y * major, 0}, {double(x), double(y), 0}, {0, 0, 1}, minor);
  }
}

// A lathe turns its outline about y; a sweep or extrusion pushes it along z.
void DrawProfile(Pen& pen, const host::SceneObject& object) {
  const auto& points = object.profile;
  if (points.empty()) return;
  if (object.type == abi::kTypeLathe) {
    for (const auto& [c, s] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
      for (size_t i = 1; i < points.size(); ++i) {
        const auto& p = points[i - 1];
        const auto& q = points[i];
        pen.Line({p.x * c, p.y, p.x * s}, {q.x * c, q.y, q.x * s});
      }
    }
    for (const auto& p : points) pen.Circle({0, p.y, 0}, {1, 0, 0}, {0, 0, 1}, std::fabs(p.x));
    return;
  }
  const double* extrusion = object.data.shape.profile.extrusion;
  const double start = extrusion[0] == extrusion[1] ? 0 : extrusion[0];
  const double end = extrusion[1];
  for (size_t i = 0; i < points.size(); ++i) {
    const auto& p = points[i];
    const auto& q = points[(i + 1) % points.size()];
    pen.Line({p.x, p.y, start}, {q.x, q.y, start});
    pen.Line({p.x, p.y, end}, {q.x, q.y, end});
    pen.Line({p.x, p.y, start}, {p.x, p.y, end});
  }
}

void DrawBlob(Pen& pen, const std::vector<abi::BlobComponent>& components) {
  for (const abi::BlobComponent& component : components) {
    pen.Sphere(ToVector(component.a), component.radius);
    if (component.kind == 2) {
      pen.Sphere(ToVector(component.b), component.radius);
      pen.Line(ToVector(component.a), ToVector(component.b));
    }
  }
}

// Each patch's sixteen control points as a four by four net.
void DrawSplineMesh(Pen& pen, const host::SceneObject& object) {
  const auto& points = object.splinePoints;
  const size_t count = points.size() / 3;
  const auto point = [&](uint32_t index) {
    return Vector3{points[3 * index], points[3 * index + 1], points[3 * index + 2]};
  };
  const auto& patches = object.splinePatches;
  for (size_t patch = 0; patch + 15 < patches.size(); patch += 16) {
    const uint32_t* net = &patches[patch];
    if (std::any_of(net, net + 16, [&](uint32_t index) { return index >= count; })) continue;
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 3; ++column) {
        pen.Line(point(net[4 * row + column]), point(net[4 * row + column + 1]));
        pen.Line(point(net[4 * column + row]), point(net[4 * (column + 1) + row]));
      }
    }
  }
}

void DrawText(Pen& pen, const abi::TextParams& text) {
  // Without the font's outlines: a box of about the text's extent.
  constexpr double kAverageAdvance = 0.6;
  const size_t length = strnlen(text.text, sizeof text.text);
  const double size = text.size > 0 ? text.size : 1;
  const double width = length * size * (kAverageAdvance + text.spacing);
  pen.Box({0, 0, 0}, {width, size, text.depth});
}

bool IsLight(uint32_t type) {
  return type == abi::kTypePointLight || type == abi::kTypeSpotLight || type == abi::kTypeAreaLight;
}

void DrawCamera(std::vector<Segment>& out, const host::Scene& scene, const host::SceneObject& camera);

class Drawing {
 public:
  Drawing(const host::Scene& scene, std::vector<Segment>& out) : scene_(scene), out_(out) {}

  // The object and its children; `tag` is the object the lines belong to (a clone's lines
  // are the clone's).
  void Draw(const host::SceneObject& object, const math::Transform& toWorld, uint32_t tag, int depth) {
    if (object.type == abi::kTypeCamera) return DrawCamera(out_, scene_, object);
    Pen pen(out_, toWorld, tag);
    Shape(pen, object, toWorld, tag, depth);
    for (const uint32_t id : object.children) {
      if (const host::SceneObject* child = scene_.Find(id)) {
        math::Transform placement = OwnPlacement(*child);
        placement.Compose(toWorld);
        Draw(*child, placement, tag == object.id ? child->id : tag, depth);
      }
    }
  }

 private:
  void Shape(Pen& pen, const host::SceneObject& object, const math::Transform& toWorld, uint32_t tag,
             int depth) {
    const auto& shape = object.data.shape;
    switch (object.type) {
      case abi::kTypeBox:
      case abi::kTypeSuperquadric:
      case abi::kTypeHeightField:  // fitted to -1..1 each way
        return pen.Box({-1, -1, -1}, {1, 1, 1});
      case abi::kTypeSphere:
        return pen.Sphere({0, 0, 0}, 1);
      case abi::kTypeCylinder:
        return pen.Rims(1, 1);
      case abi::kTypeCone:
        return pen.Rims(shape.cone.lowerRadius, shape.cone.upperRadius);
      case abi::kTypeTorus:
        return DrawTorus(pen, shape.torus);
      case abi::kTypeDisc:
        pen.Circle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1);
        if (shape.disc.innerRadius > 0) pen.Circle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, shape.disc.innerRadius);
        return;
      case abi::kTypePlane:
        return DrawPlane(pen);
      case abi::kTypeSweep:
      case abi::kTypeLathe:
      case abi::kTypeExtrusion:
        return DrawProfile(pen, object);
      case abi::kTypeBlob:
        return DrawBlob(pen, object.blob);
      case abi::kTypeSplineMesh:
        return DrawSplineMesh(pen, object);
      case abi::kTypeText:
        return DrawText(pen, shape.text);
      case abi::kTypeMeshFile:
      case abi::kTypePolygonMesh:
        return pen.Mesh(object.mesh.vertices, object.mesh.faces);
      case abi::kTypePluginObject:
        if (object.mesh.faces.empty()) return pen.Sphere({0, 0, 0}, 1);
        return pen.Mesh(object.mesh.vertices, object.mesh.faces);
      case abi::kTypeClone:
        return Clone(object, toWorld, tag, depth);
      default:
        if (IsLight(object.type)) Star(toWorld.TransformPoint({0, 0, 0}), tag);
        return;
    }
  }

  void Clone(const host::SceneObject& clone, const math::Transform& toWorld, uint32_t tag, int depth) {
    const host::SceneObject* source = scene_.Find(clone.linkA);
    if (!source || depth >= kDeepestClone) return;
    math::Transform placement = OwnPlacement(*source);
    placement.Compose(toWorld);
    Draw(*source, placement, tag, depth + 1);
  }

  // A light is a point: a small star of fixed size wherever it stands.
  void Star(const Vector3& at, uint32_t tag) {
    const double h = kLightStarSize;
    for (const Vector3& axis : {Vector3{h, 0, 0}, Vector3{0, h, 0}, Vector3{0, 0, h}}) {
      out_.push_back({at - axis, at + axis, tag});
    }
  }

  const host::Scene& scene_;
  std::vector<Segment>& out_;
};

CameraAim AimOf(const host::Scene& scene, const host::SceneObject& camera) {
  const abi::CameraParams& params = camera.data.shape.camera;
  // A camera that follows objects is moved by their translation, as the renderer moves it.
  const auto offset = [&](uint32_t id) {
    const host::SceneObject* linked = params.ownTransformOnly ? nullptr : scene.Find(id);
    return linked ? ToVector(linked->params.translate) : Vector3{};
  };
  CameraAim aim;
  aim.location = ToVector(camera.params.translate) + offset(camera.linkA);
  aim.interest = ToVector(camera.params.rotate) + offset(camera.linkB);
  aim.up = ToVector(params.up);
  if (math::Length(aim.up) == 0) aim.up = {0, 1, 0};
  if (params.fieldOfView > 0 && params.fieldOfView < 180) aim.fieldOfView = params.fieldOfView;
  return aim;
}

struct Basis {
  Vector3 right, up, forward;
};

// Right-handed, as the renderer's space: a camera looking down -z with y up has x on its
// right.
Basis BasisOf(const CameraAim& aim) {
  Basis basis;
  basis.forward = Normalised(aim.interest - aim.location);
  if (math::Length(basis.forward) == 0) basis.forward = {0, 0, -1};
  basis.right = Normalised(math::Cross(basis.forward, aim.up));
  if (math::Length(basis.right) == 0) basis.right = Normalised(math::Cross(basis.forward, {0, 0, 1}));
  basis.up = math::Cross(basis.right, basis.forward);
  return basis;
}

void DrawCamera(std::vector<Segment>& out, const host::Scene& scene, const host::SceneObject& camera) {
  const CameraAim aim = AimOf(scene, camera);
  const Basis basis = BasisOf(aim);
  const double aspect = camera.data.shape.camera.aspect > 0 ? camera.data.shape.camera.aspect : 4.0 / 3.0;
  const double halfWidth = std::tan(aim.fieldOfView / 2 * kRadiansPerDegree) * kCameraPyramidDepth;
  const double halfHeight = halfWidth / aspect;
  const Vector3 middle = aim.location + basis.forward * kCameraPyramidDepth;
  Vector3 corners[4];
  int index = 0;
  for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
    corners[index++] = middle + basis.right * (x * halfWidth) + basis.up * (y * halfHeight);
  }
  for (int i = 0; i < 4; ++i) {
    out.push_back({aim.location, corners[i], camera.id});
    out.push_back({corners[i], corners[(i + 1) % 4], camera.id});
  }
}

}  // namespace

std::vector<Segment> SceneWireframe(const host::Scene& scene) {
  std::vector<Segment> out;
  Drawing drawing(scene, out);
  for (const uint32_t list : {abi::kObjectList, abi::kCameraList}) {
    for (const uint32_t id : scene.List(list)) {
      const host::SceneObject& object = *scene.Find(id);
      drawing.Draw(object, WorldPlacement(scene, object), id, 0);
    }
  }
  return out;
}

std::optional<CameraAim> ActiveCameraAim(const host::Scene& scene) {
  const host::SceneObject* chosen = nullptr;
  for (const uint32_t id : scene.List(abi::kCameraList)) {
    const host::SceneObject& camera = *scene.Find(id);
    if (camera.type != abi::kTypeCamera) continue;
    if (!chosen) chosen = &camera;
    if (camera.data.shape.camera.active) {
      chosen = &camera;
      break;
    }
  }
  if (!chosen) return std::nullopt;
  return AimOf(scene, *chosen);
}

ViewProjection ViewProjection::Orthographic(uint32_t projection, const std::vector<Segment>& drawing,
                                            double zoom, const double (&centre)[3], int width, int height) {
  ViewProjection view;
  switch (projection) {
    case 0:  // from above, -z up the screen
      view.right_ = {1, 0, 0};
      view.up_ = {0, 0, -1};
      break;
    case 2:  // from the +x side
      view.right_ = {0, 0, -1};
      view.up_ = {0, 1, 0};
      break;
    default:  // from +z
      view.right_ = {1, 0, 0};
      view.up_ = {0, 1, 0};
      break;
  }
  double low[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  double high[2] = {-low[0], -low[1]};
  const bool onlyBackdrop =
      std::all_of(drawing.begin(), drawing.end(), [](const Segment& s) { return s.backdrop; });
  for (const Segment& segment : drawing) {
    if (segment.backdrop && !onlyBackdrop) continue;
    for (const Vector3& p : {segment.a, segment.b}) {
      const double along[2] = {math::Dot(p, view.right_), math::Dot(p, view.up_)};
      for (int axis = 0; axis < 2; ++axis) {
        low[axis] = std::min(low[axis], along[axis]);
        high[axis] = std::max(high[axis], along[axis]);
      }
    }
  }
  constexpr double kEmptyExtent = 10;
  if (drawing.empty()) {
    low[0] = low[1] = -kEmptyExtent / 2;
    high[0] = high[1] = kEmptyExtent / 2;
  }
  // Room round the drawing, so that nothing touches the view's edge.
  constexpr double kFill = 0.9;
  const double spanU = std::max(high[0] - low[0], 1e-6), spanV = std::max(high[1] - low[1], 1e-6);
  view.scale_ = kFill * std::min(width / spanU, height / spanV) * (zoom > 0 ? zoom : 1);
  const Vector3 shift = ToVector(centre);
  view.origin_ = view.right_ * ((low[0] + high[0]) / 2 + math::Dot(shift, view.right_)) +
                 view.up_ * ((low[1] + high[1]) / 2 + math::Dot(shift, view.up_));
  view.halfWidth_ = width / 2.0;
  view.halfHeight_ = height / 2.0;
  return view;
}

ViewProjection ViewProjection::Perspective(const CameraAim& aim, int width, int height) {
  const Basis basis = BasisOf(aim);
  ViewProjection view;
  view.perspective_ = true;
  view.origin_ = aim.location;
  view.right_ = basis.right;
  view.up_ = basis.up;
  view.forward_ = basis.forward;
  view.halfWidth_ = width / 2.0;
  view.halfHeight_ = height / 2.0;
  view.scale_ = view.halfWidth_ / std::tan(aim.fieldOfView / 2 * kRadiansPerDegree);
  return view;
}

std::pair<double, double> ViewProjection::Pixel(const Vector3& p) const {
  const Vector3 d = p - origin_;
  const double depth = perspective_ ? math::Dot(d, forward_) : 1;
  return {halfWidth_ + math::Dot(d, right_) * scale_ / depth,
          halfHeight_ - math::Dot(d, up_) * scale_ / depth};
}

std::optional<std::pair<std::pair<double, double>, std::pair<double, double>>> ViewProjection::Map(
    const Vector3& a, const Vector3& b) const {
  if (!perspective_) return std::pair{Pixel(a), Pixel(b)};
  const double depthA = math::Dot(a - origin_, forward_), depthB = math::Dot(b - origin_, forward_);
  if (depthA < kNearPlane && depthB < kNearPlane) return std::nullopt;
  const auto cut = [&](const Vector3& behind, double behindDepth, const Vector3& front, double frontDepth) {
    const double t = (kNearPlane - behindDepth) / (frontDepth - behindDepth);
    return behind + (front - behind) * t;
  };
  const Vector3 from = depthA < kNearPlane ? cut(a, depthA, b, depthB) : a;
  const Vector3 to = depthB < kNearPlane ? cut(b, depthB, a, depthA) : b;
  return std::pair{Pixel(from), Pixel(to)};
}

}  // namespace lumetra::gui
