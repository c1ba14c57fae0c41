#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// A ring about an axis through its centre. u: turn about the axis, v: turn about the
// tube, 0 on its outer equator.
class Torus final : public Shape {
 public:
  Torus(const Vec3& centre, const Vec3& axis, double major_radius, double minor_radius);
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

  void setRadii(double major_radius, double minor_radius) {
    major_ = major_radius;
    minor_ = minor_radius;
  }
  void setSturm(bool sturm) { sturm_ = sturm; }
  bool valid() const { return major_ > 0 && minor_ > 0 && std::isfinite(major_ + minor_); }

 private:
  // Coordinates with y along the axis.
  Vec3 toFrame(const Vec3& v) const;
  Vec3 fromFrame(const Vec3& v) const;
  int crossings(const Vec3& origin, const Vec3& direction, double* roots) const;

  Vec3 centre_, axis_, across_1_, across_2_;
  double major_, minor_;
  bool sturm_ = false;
};

}  // namespace lumetra::renderlib
