#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// A flat annulus facing its normal. u: turn about the normal, v: 0 at the inner edge to 1
// at the outer one. Its inside for CSG is the half space behind it, so a large disc acts
// as a plane.
class Disc final : public Shape {
 public:
  Disc(const Vec3& centre, const Vec3& normal, double inner_radius, double outer_radius);
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override { return dot(p - centre_, normal_) < 0; }
  Bounds bounds() const override;

  void setRadii(double inner_radius, double outer_radius) {
    inner_ = inner_radius;
    outer_ = outer_radius;
  }
  bool valid() const {
    return length(normal_) > 0 && inner_ >= 0 && outer_ > inner_ && std::isfinite(outer_);
  }

 private:
  Vec3 centre_, normal_, across_1_, across_2_;
  double inner_, outer_;
};

}  // namespace lumetra::renderlib
