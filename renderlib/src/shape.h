// The geometry of a primitive in its own space.
#pragma once

#include <numbers>
#include <utility>

#include "ray.h"

namespace lumetra::renderlib {

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
  const double angle = std::atan2(y, x) / (2 * std::numbers::pi);
  return angle < 0 ? angle + 1 : angle;
}

// The surface coordinates (u, v) of a hit, worked out when they were deferred.
inline std::pair<double, double> surfaceCoordinates(const SurfaceCoordinates& hit) {
  using Rule = SurfaceCoordinates::Coordinates;
  if (hit.coordinates == Rule::kReady) return {hit.u, hit.v};
  const double u = turnFraction(hit.raw[0], hit.raw[1]);
  if (hit.coordinates == Rule::kSpherical) {
    return {u, 0.5 + std::asin(std::clamp(hit.raw[2] / std::max(hit.raw[3], 1e-300), -1.0, 1.0)) /
                         std::numbers::pi};
  }
  if (hit.coordinates == Rule::kTurnAndValue) return {u, hit.raw[2]};
  return {u, turnFraction(hit.raw[2], hit.raw[3])};
}

// How far a circle of radius about a unit axis reaches along each coordinate.
inline Vec3 circleReach(const Vec3& axis, double radius) {
  return {radius * std::sqrt(std::max(0.0, 1 - axis.x * axis.x)),
          radius * std::sqrt(std::max(0.0, 1 - axis.y * axis.y)),
          radius * std::sqrt(std::max(0.0, 1 - axis.z * axis.z))};
}

}  // namespace lumetra::renderlib
