#include "sphere.h"

#include "quadratic.h"

namespace lumetra::renderlib {

bool Sphere::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const Vec3 offset = ray.origin - centre_;
  double roots[2];
  const int count = solveQuadratic(dot(ray.direction, ray.direction), 2 * dot(offset, ray.direction),
                                   dot(offset, offset) - radius_ * radius_, roots);
  for (int i = 0; i < count; ++i) {
    if (roots[i] > tmin && roots[i] < tmax) {
      const Vec3 local = ray.at(roots[i]) - centre_;
      hit.t = roots[i];
      hit.normal = local;
      hit.defer(SurfaceHit::Coordinates::kSpherical, local.x, local.z, local.y, radius_);
      return true;
    }
  }
  return false;
}

bool Sphere::inside(const Vec3& p) const {
  const Vec3 offset = p - centre_;
  return dot(offset, offset) < radius_ * radius_;
}

Bounds Sphere::bounds() const {
  const Vec3 extent{radius_, radius_, radius_};
  return {centre_ - extent, centre_ + extent};
}

}  // namespace lumetra::renderlib
