#include "disc.h"

namespace lumetra::renderlib {

Disc::Disc(const Vec3& centre, const Vec3& normal, double inner_radius, double outer_radius)
    : centre_(centre), normal_(normalized(normal)), inner_(inner_radius), outer_(outer_radius) {
  orthonormalFrame(normal_, across_1_, across_2_);
}

bool Disc::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const double approach = dot(ray.direction, normal_);
  if (approach == 0) return false;
  const double t = dot(centre_ - ray.origin, normal_) / approach;
  if (t <= tmin || t >= tmax) return false;
  const Vec3 offset = ray.at(t) - centre_;
  const double x = dot(offset, across_1_), y = dot(offset, across_2_);
  const double radius = std::sqrt(x * x + y * y);
  if (radius < inner_ || radius > outer_) return false;
  hit.t = t;
  hit.normal = normal_;
  hit.defer(SurfaceHit::Coordinates::kTurnAndValue, x, y, (radius - inner_) / (outer_ - inner_));
  return true;
}

Bounds Disc::bounds() const {
  const Vec3 reach = circleReach(normal_, outer_);
  return {centre_ - reach, centre_ + reach};
}

}  // namespace lumetra::renderlib
