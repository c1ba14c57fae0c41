#include "triangle_mesh.h"

#include <cmath>
#include <new>
#include <numbers>

#include "accelerator.h"

namespace lumetra::renderlib {
namespace {

bool indicesBelow(const std::vector<uint32_t>& indices, size_t limit) {
  for (uint32_t index : indices) {
    if (index >= limit) return false;
  }
  return true;
}

template <class Value>
std::vector<Value> perCorner(const std::vector<Value>& values, const std::vector<uint32_t>& corners) {
  std::vector<Value> out;
  out.reserve(corners.size());
  for (uint32_t index : corners) out.push_back(values[index]);
  return out;
}

constexpr size_t kCompactFaces = size_t{1} << 18;

}  // namespace

std::unique_ptr<TriangleMesh> TriangleMesh::create(const MeshInput& input) {
  const size_t face_count = input.faces.size() / 3;
  if (face_count == 0 || input.faces.size() % 3 != 0 || !indicesBelow(input.faces, input.vertices.size())) {
    return nullptr;
  }
  const std::vector<uint32_t>& normal_corners = input.normal_faces.empty() ? input.faces : input.normal_faces;
  const std::vector<uint32_t>& uv_corners = input.uv_faces.empty() ? input.faces : input.uv_faces;
  if (!input.normals.empty() &&
      (normal_corners.size() != input.faces.size() || !indicesBelow(normal_corners, input.normals.size()))) {
    return nullptr;
  }
  if (!input.uvs.empty() &&
      (uv_corners.size() != input.faces.size() || !indicesBelow(uv_corners, input.uvs.size()))) {
    return nullptr;
  }
  std::unique_ptr<TriangleMesh> mesh(new TriangleMesh());
  mesh->counter_clockwise_ = input.counter_clockwise;
  mesh->faces_ = input.faces;
  mesh->positions_.reserve(input.vertices.size() * 3 + 1);
  for (const Vec3& v : input.vertices) {
    mesh->positions_.insert(mesh->positions_.end(),
                            {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)});
  }
  mesh->positions_.push_back(0);
  if (!input.normals.empty()) mesh->corner_normals_ = perCorner(input.normals, normal_corners);
  if (!input.uvs.empty()) mesh->corner_uvs_ = perCorner(input.uvs, uv_corners);

  return mesh;
}

RTCScene TriangleMesh::embreeScene() const {
  std::call_once(built_, [this] { scene_ = buildScene(); });
  return scene_;
}

RTCScene TriangleMesh::buildScene() const {
  RTCScene scene = rtcNewScene(embreeDevice());
  if (!scene) throw std::bad_alloc();
  // Large meshes keep vertex indices in the tree instead of vertex copies and build without
  // spatial splits: far less memory for a little more time a ray. Small ones keep the
  // faster tree.
  const bool compact = faceCount() >= kCompactFaces;
  rtcSetSceneFlags(scene, RTC_SCENE_FLAG_ROBUST | (compact ? RTC_SCENE_FLAG_COMPACT : RTC_SCENE_FLAG_NONE));
  rtcSetSceneBuildQuality(scene, compact ? RTC_BUILD_QUALITY_MEDIUM : RTC_BUILD_QUALITY_HIGH);
  RTCGeometry geometry = rtcNewGeometry(embreeDevice(), RTC_GEOMETRY_TYPE_TRIANGLE);
  rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, positions_.data(), 0,
                             3 * sizeof(float), positions_.size() / 3);
  rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, faces_.data(), 0,
                             3 * sizeof(uint32_t), faceCount());
  rtcCommitGeometry(geometry);
  rtcAttachGeometry(scene, geometry);
  rtcReleaseGeometry(geometry);
  rtcCommitScene(scene);
  return scene;
}

TriangleMesh::~TriangleMesh() {
  if (scene_) rtcReleaseScene(scene_);
}

Vec3 TriangleMesh::vertex(uint32_t index) const {
  return {positions_[3 * index], positions_[3 * index + 1], positions_[3 * index + 2]};
}

bool TriangleMesh::nearestFace(const Ray& ray, double tmin, double tmax, RTCRayHit& found) const {
  RTCIntersectContext context;
  rtcInitIntersectContext(&context);
  found = embreeQuery(ray, tmin, tmax);
  rtcIntersect1(embreeScene(), &context, &found);
  return found.hit.geomID != RTC_INVALID_GEOMETRY_ID;
}

bool TriangleMesh::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  RTCRayHit found;
  if (!nearestFace(ray, tmin, tmax, found)) return false;
  hit.t = exactDistance(found.hit.primID, ray);
  describe(found.hit.primID, found.hit.u, found.hit.v, true, hit);
  return true;
}

bool TriangleMesh::inside(const Vec3& p) const {
  // An oblique direction rarely runs along an edge.
  const Ray ray{p, Vec3{0.5773, 0.5774, 0.5775}};
  int crossings = 0;
  double tmin = 0;
  RTCRayHit found;
  while (crossings < 10000 && nearestFace(ray, tmin, 3e38, found)) {
    ++crossings;
    tmin = nextUp(float(found.ray.tfar));
  }
  return crossings % 2 == 1;
}

Vec3 TriangleMesh::faceNormal(unsigned face) const {
  const Vec3 a = vertex(faces_[3 * face]);
  const Vec3 n = cross(vertex(faces_[3 * face + 1]) - a, vertex(faces_[3 * face + 2]) - a);
  return counter_clockwise_ ? n : -n;
}

double TriangleMesh::exactDistance(unsigned face, const Ray& ray) const {
  const Vec3 a = vertex(faces_[3 * face]);
  const Vec3 n = faceNormal(face);
  const double approach = dot(ray.direction, n);
  return approach != 0 ? dot(a - ray.origin, n) / approach : 0;
}

Bounds TriangleMesh::bounds() const {
  Bounds out;
  for (size_t i = 0; i + 3 < positions_.size(); i += 3) {
    out.extend({positions_[i], positions_[i + 1], positions_[i + 2]});
  }
  return out;
}

void TriangleMesh::describe(unsigned face, double b1, double b2, bool smooth, SurfaceHit& hit) const {
  const double b0 = 1 - b1 - b2;
  const size_t corner = 3 * size_t(face);
  const Vec3 flat = faceNormal(face);
  if (!smooth || corner_normals_.empty()) {
    hit.normal = flat;
  } else {
    const Vec3 n =
        corner_normals_[corner] * b0 + corner_normals_[corner + 1] * b1 + corner_normals_[corner + 2] * b2;
    // Corner normals may face either way; the face's winding decides the front. Corners
    // where a surface pinches to a point have none.
    hit.normal = dot(n, n) < 1e-24 ? flat : (dot(n, flat) < 0 ? -n : n);
  }
  if (corner_uvs_.empty()) {
    hit.setCoordinates(b1, b2);
  } else {
    const Vec3 uv = corner_uvs_[corner] * b0 + corner_uvs_[corner + 1] * b1 + corner_uvs_[corner + 2] * b2;
    hit.setCoordinates(uv.x, uv.y);
  }
}

void TriangleMesh::smooth(double angle_degrees) {
  const size_t face_count = faceCount();
  std::vector<Vec3> unit_normals(face_count);
  std::vector<std::vector<unsigned>> faces_of_vertex(positions_.size() / 3);
  for (unsigned f = 0; f < face_count; ++f) {
    unit_normals[f] = normalized(faceNormal(f));
    for (int k = 0; k < 3; ++k) faces_of_vertex[faces_[3 * f + k]].push_back(f);
  }
  const double limit = std::cos(angle_degrees * std::numbers::pi / 180.0);
  std::vector<Vec3> corners(faces_.size());
  for (unsigned f = 0; f < face_count; ++f) {
    for (int k = 0; k < 3; ++k) {
      Vec3 sum;
      for (unsigned other : faces_of_vertex[faces_[3 * f + k]]) {
        // Area-weighted: the raw face normal's length is twice the area.
        if (dot(unit_normals[f], unit_normals[other]) >= limit) sum += faceNormal(other);
      }
      corners[3 * f + k] = length(sum) > 0 ? normalized(sum) : unit_normals[f];
    }
  }
  corner_normals_ = std::move(corners);
}

}  // namespace lumetra::renderlib
