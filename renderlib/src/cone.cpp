#include "cone.h"

#include "quadratic.h"

namespace lumetra::renderlib {

Cone::Cone(const Vec3& base, double base_radius, const Vec3& apex, double apex_radius)
    : base_(base), height_(length(apex - base)), base_radius_(base_radius), apex_radius_(apex_radius) {
  axis_ = height_ > 0 ? (apex - base) / height_ : Vec3{0, 0, 1};
  orthonormalFrame(axis_, across_1_, across_2_);
}

void Cone::setRadii(double base_radius, double apex_radius) {
  base_radius_ = base_radius;
  apex_radius_ = apex_radius;
}

Vec3 Cone::toFrame(const Vec3& p) const { return toFrameDirection(p - base_); }

Vec3 Cone::toFrameDirection(const Vec3& v) const {
  return {dot(v, across_1_), dot(v, across_2_), dot(v, axis_) / height_};
}

Vec3 Cone::fromFrameNormal(const Vec3& n) const {
  return across_1_ * n.x + across_2_ * n.y + axis_ * (n.z / height_);
}

bool Cone::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const Vec3 o = toFrame(ray.origin);
  const Vec3 d = toFrameDirection(ray.direction);
  bool found = hitSide(o, d, tmin, tmax, hit);
  if (capped_) {
    for (double z : {0.0, 1.0}) {
      if (hitCap(o, d, z, tmin, found ? hit.t : tmax, hit)) found = true;
    }
  }
  return found;
}

bool Cone::hitSide(const Vec3& o, const Vec3& d, double tmin, double tmax, SurfaceHit& hit) const {
  // x^2 + y^2 = (r0 + k z)^2 along the ray.
  const double k = apex_radius_ - base_radius_;
  const double r0 = radiusAt(o.z);
  const double a = d.x * d.x + d.y * d.y - k * k * d.z * d.z;
  const double b = 2 * (o.x * d.x + o.y * d.y - r0 * k * d.z);
  const double c = o.x * o.x + o.y * o.y - r0 * r0;
  double roots[2];
  const int count = solveQuadratic(a, b, c, roots);
  for (int i = 0; i < count; ++i) {
    const double t = roots[i];
    if (t <= tmin || t >= tmax) continue;
    const Vec3 p = o + d * t;
    if (p.z < 0 || p.z > 1 || radiusAt(p.z) < 0) continue;
    hit.t = t;
    hit.normal = fromFrameNormal({p.x, p.y, -k * radiusAt(p.z)});
    hit.defer(SurfaceHit::Coordinates::kTurnAndValue, p.x, p.y, p.z);
    return true;
  }
  return false;
}

bool Cone::hitCap(const Vec3& o, const Vec3& d, double z, double tmin, double tmax, SurfaceHit& hit) const {
  if (d.z == 0) return false;
  const double t = (z - o.z) / d.z;
  if (t <= tmin || t >= tmax) return false;
  const Vec3 p = o + d * t;
  const double radius = radiusAt(z);
  if (p.x * p.x + p.y * p.y > radius * radius) return false;
  hit.t = t;
  hit.normal = axis_ * (z == 0 ? -1.0 : 1.0);
  hit.defer(SurfaceHit::Coordinates::kTurnAndValue, p.x, p.y, z);
  return true;
}

bool Cone::inside(const Vec3& p) const {
  if (!capped_) return false;
  const Vec3 f = toFrame(p);
  if (f.z <= 0 || f.z >= 1) return false;
  const double radius = radiusAt(f.z);
  return f.x * f.x + f.y * f.y < radius * radius;
}

Bounds Cone::bounds() const {
  Bounds out;
  const Vec3 apex = base_ + axis_ * height_;
  for (const auto& [centre, radius] : {std::pair{base_, base_radius_}, std::pair{apex, apex_radius_}}) {
    const Vec3 reach = circleReach(axis_, radius);
    out.extend(centre - reach);
    out.extend(centre + reach);
  }
  return out;
}

}  // namespace lumetra::renderlib
