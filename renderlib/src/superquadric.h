#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// A superellipsoid in the cube -1..1:
//   (|x|^(2/e) + |y|^(2/e))^(e/n) + |z|^(2/n) = 1  (e: east-west power, n: north-south).
// Crossings are found by sampling the function between the cube's faces and the coordinate
// planes (where it is not smooth) and refining sign changes by bisection. u: turn about z
// from +x towards +y, v: latitude from the -z pole (0) to the +z pole (1).
class Superquadric final : public Shape {
 public:
  Superquadric(double east_west, double north_south) { setPowers(east_west, north_south); }
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override { return {{-1, -1, -1}, {1, 1, 1}}; }

  void setPowers(double east_west, double north_south) {
    east_west_ = east_west;
    north_south_ = north_south;
  }
  bool valid() const {
    return east_west_ > 0 && north_south_ > 0 && std::isfinite(east_west_) && std::isfinite(north_south_);
  }

 private:
  double value(const Vec3& p) const;
  Vec3 gradient(const Vec3& p) const;
  // The first crossing in (from, to), where the function is smooth.
  bool crossing(const Ray& ray, double from, double to, double& t) const;

  double east_west_, north_south_;
};

}  // namespace lumetra::renderlib
