#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// A truncated cone (a cylinder when both radii agree) from base to apex, optionally with
// end caps. u: turn about the axis, v: 0 at the base to 1 at the apex (caps: their end).
class Cone final : public Shape {
 public:
  Cone(const Vec3& base, double base_radius, const Vec3& apex, double apex_radius);
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

  void setRadii(double base_radius, double apex_radius);
  void setCapped(bool capped) { capped_ = capped; }
  bool valid() const {
    return height_ > 0 && base_radius_ >= 0 && apex_radius_ >= 0 && base_radius_ + apex_radius_ > 0 &&
           std::isfinite(base_radius_ + apex_radius_);
  }

 private:
  // Coordinates in the cone's frame: x, y across the axis, z along it (0..1).
  Vec3 toFrame(const Vec3& v) const;
  Vec3 toFrameDirection(const Vec3& v) const;
  Vec3 fromFrameNormal(const Vec3& n) const;
  double radiusAt(double z) const { return base_radius_ + (apex_radius_ - base_radius_) * z; }
  bool hitSide(const Vec3& o, const Vec3& d, double tmin, double tmax, SurfaceHit& hit) const;
  bool hitCap(const Vec3& o, const Vec3& d, double z, double tmin, double tmax, SurfaceHit& hit) const;

  Vec3 base_, axis_, across_1_, across_2_;
  double height_;
  double base_radius_, apex_radius_;
  bool capped_ = true;
};

}  // namespace lumetra::renderlib
