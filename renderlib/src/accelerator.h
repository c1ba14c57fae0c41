// Nearest-hit ray queries over a frozen scene, answered by Embree: analytic shapes are its
// user geometry, triangle meshes instanced triangle geometry.
#pragma once

#include <embree3/rtcore.h>

#include <cstdint>
#include <span>
#include <vector>

#include "primitive.h"

namespace lumetra::renderlib {

struct CompiledPrimitive;
struct NearestLane;

struct WorldHit : SurfaceCoordinates {
  const CompiledPrimitive* primitive = nullptr;
  double t = 0;
  Vec3 point;
  Vec3 normal;                      // unit, world space, out of the solid (or the face's front)
  bool polygon = false;             // a triangle of a mesh: its normal faces the triangle's front
  uint32_t face = 0;                // the triangle's index within its mesh (0 for shapes)
  const Primitive* part = nullptr;  // a textured CSG part, carried into world space by
  Affine part_to_world;             // only with part; not initialised
};

// A shadow ray and the stretch of it that counts.
struct ShadowQuery {
  Ray ray;
  double tmin, tmax;
};

class Accelerator {
 public:
  // smooth_meshes: interpolate the corner normals of triangle meshes.
  Accelerator(const std::vector<CompiledPrimitive>& primitives, bool smooth_meshes);
  ~Accelerator();
  Accelerator(const Accelerator&) = delete;
  Accelerator& operator=(const Accelerator&) = delete;

  // The nearest hit with tmin < t < tmax; shadow queries pass over primitives that cast
  // no shadows.
  bool intersect(const Ray& ray, double tmin, double tmax, bool shadow, WorldHit& hit) const;
  // The nearest hits past tmin of coherent rays (the primary rays of neighbouring pixels),
  // four at a time so that they share Embree's traversal; found[i] tells whether hits[i] is one.
  void intersect(std::span<const Ray> rays, double tmin, WorldHit* hits, bool* found) const;
  // Whether a shadow-casting shape or any mesh crosses the ray with tmin < t < tmax: a
  // shadow query that ends at the first crossing it finds.
  bool occluded(const Ray& ray, double tmin, double tmax) const;
  // The same for a bundle of rays from one point (to the cells of an area light), four at a
  // time so that they share Embree's traversal; blocked[i] answers queries[i] (1: blocked).
  void occluded(std::span<const ShadowQuery> queries, uint8_t* blocked) const;

 private:
  // The hit a query found, in world space.
  void describe(NearestLane& lane, unsigned instance, unsigned face, float u, float v, WorldHit& hit) const;

  RTCScene scene_;
  bool smooth_meshes_;
  std::vector<const CompiledPrimitive*> by_geometry_;
};

// The process's Embree device.
RTCDevice embreeDevice();

// A ray query for Embree, in single precision, that stays strictly past tmin.
RTCRayHit embreeQuery(const Ray& ray, double tmin, double tmax);

}  // namespace lumetra::renderlib
