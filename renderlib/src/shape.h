// The geometry of a primitive in its own space.
#pragma once

#include "ray.h"

namespace lumetra2 {

class Shape {
 public:
  virtual ~Shape() = default;
  // The nearest crossing with tmin < t < tmax.
  virtual bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const = 0;
  // Whether p lies inside the solid (for CSG); flat shapes count the side behind them.
  virtual bool inside(const Vec3& p) const = 0;
  virtual Bounds bounds() const = 0;
};

// Longitude of (x, y) about an axis as a fraction of a turn, 0..1.
inline double turnFraction(double x, double y) {
  const double angle = std::atan2(y, x) / (2 * kPi);
  return angle < 0 ? angle + 1 : angle;
}

// How far a circle of radius about a unit axis reaches along each coordinate.
inline Vec3 circleReach(const Vec3& axis, double radius) {
  return {radius * std::sqrt(std::max(0.0, 1 - axis.x * axis.x)),
          radius * std::sqrt(std::max(0.0, 1 - axis.y * axis.y)),
          radius * std::sqrt(std::max(0.0, 1 - axis.z * axis.z))};
}

}  // namespace lumetra2
