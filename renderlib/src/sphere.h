#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// u: longitude about y (turnFraction(x, z) of the point about the centre), v: latitude
// from the south pole (0) to the north pole (1).
class Sphere final : public Shape {
 public:
  Sphere(const Vec3& centre, double radius) : centre_(centre), radius_(radius) {}
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

 private:
  Vec3 centre_;
  double radius_;
};

}  // namespace lumetra::renderlib
