// A triangle mesh kept as an Embree scene of its own, instanced by every primitive that
// shows it. Corner normals and texture coordinates are optional. As a shape (for CSG) its
// inside is what a ray leaves through an odd number of faces.
#pragma once

#include <embree3/rtcore.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "shape.h"

namespace lumetra::renderlib {

struct MeshInput {
  std::vector<Vec3> vertices;
  std::vector<uint32_t> faces;  // three vertex indices a face
  std::vector<Vec3> normals;
  std::vector<uint32_t> normal_faces;  // empty or three normal indices a face
  std::vector<Vec3> uvs;
  std::vector<uint32_t> uv_faces;  // empty or three coordinate indices a face
  bool counter_clockwise = false;
};

class TriangleMesh final : public Shape {
 public:
  // Null when an index is out of range or there is no face.
  static std::unique_ptr<TriangleMesh> create(const MeshInput& input);
  ~TriangleMesh() override;
  TriangleMesh(const TriangleMesh&) = delete;
  TriangleMesh& operator=(const TriangleMesh&) = delete;

  // The mesh's Embree scene, built on first use: by then the copies the mesh was made from
  // are gone, which lowers the peak memory of large meshes.
  RTCScene embreeScene() const;
  size_t faceCount() const { return faces_.size() / 3; }
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;
  // Front-facing normal (with smooth, interpolated where corner normals exist) and texture
  // coordinates (the barycentric ones without coordinates) at barycentric (b1, b2) of face.
  void describe(unsigned face, double b1, double b2, bool smooth, SurfaceHit& hit) const;
  // The ray parameter where the ray meets face's plane, in double precision (Embree's is single).
  double exactDistance(unsigned face, const Ray& ray) const;
  // Corner normals averaged over the faces round a vertex that meet at less than angle.
  void smooth(double angle_degrees);

 private:
  TriangleMesh() = default;
  Vec3 vertex(uint32_t index) const;
  // The nearest face crossing: Embree's hit record, false for none.
  bool nearestFace(const Ray& ray, double tmin, double tmax, RTCRayHit& found) const;
  Vec3 faceNormal(unsigned face) const;  // unnormalized, towards the front

  std::vector<float> positions_;  // x, y, z a vertex, plus one float of padding for Embree
  std::vector<uint32_t> faces_;
  std::vector<Vec3> corner_normals_;  // three a face, or empty for flat faces
  std::vector<Vec3> corner_uvs_;      // three a face, or empty
  bool counter_clockwise_ = false;
  RTCScene buildScene() const;
  mutable std::once_flag built_;
  mutable RTCScene scene_ = nullptr;
};

}  // namespace lumetra::renderlib
