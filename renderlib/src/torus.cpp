#include "torus.h"

#include "polynomial.h"
#include "quadratic.h"

namespace lumetra::renderlib {

Torus::Torus(const Vec3& centre, const Vec3& axis, double major_radius, double minor_radius)
    : centre_(centre), axis_(normalized(axis)), major_(major_radius), minor_(minor_radius) {
  orthonormalFrame(axis_, across_2_, across_1_);
}

Vec3 Torus::toFrame(const Vec3& v) const { return {dot(v, across_1_), dot(v, axis_), dot(v, across_2_)}; }

Vec3 Torus::fromFrame(const Vec3& v) const { return across_1_ * v.x + axis_ * v.y + across_2_ * v.z; }

// Distances along a unit direction from origin to the surface, any sign, ascending.
int Torus::crossings(const Vec3& o, const Vec3& d, double* roots) const {
  const double rr = major_ * major_;
  const double b = dot(o, d);
  const double e = dot(o, o) + rr - minor_ * minor_;
  const double c[5] = {e * e - 4 * rr * (o.x * o.x + o.z * o.z), 4 * b * e - 8 * rr * (o.x * d.x + o.z * d.z),
                       4 * b * b + 2 * e - 4 * rr * (d.x * d.x + d.z * d.z), 4 * b, 1};
  if (sturm_) {
    const double reach = 2 * (major_ + minor_) + 1e-9;
    return sturmRoots(c, 4, -reach, reach, roots);
  }
  return solveQuartic(c, roots);
}

bool Torus::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const Vec3 origin = toFrame(ray.origin - centre_);
  const Vec3 direction = toFrame(ray.direction);
  const double speed = length(direction);
  if (speed == 0) return false;
  const Vec3 unit = direction / speed;
  // Start from the nearest point of the bounding sphere so the quartic stays well scaled.
  const double reach = major_ + minor_;
  double sphere[2];
  if (solveQuadratic(1, 2 * dot(origin, unit), dot(origin, origin) - reach * reach, sphere) < 2) {
    return false;
  }
  const double start = std::max(sphere[0], tmin * speed);
  if (start > sphere[1] || start > tmax * speed) return false;
  const Vec3 shifted = origin + unit * start;
  double roots[4];
  const int count = crossings(shifted, unit, roots);
  for (int i = 0; i < count; ++i) {
    const double t = (roots[i] + start) / speed;
    if (t <= tmin || t >= tmax) continue;
    const Vec3 p = shifted + unit * roots[i];
    const double ring = std::sqrt(p.x * p.x + p.z * p.z);
    const double s = dot(p, p) + major_ * major_ - minor_ * minor_;
    hit.t = t;
    hit.normal = fromFrame({p.x * (s - 2 * major_ * major_), p.y * s, p.z * (s - 2 * major_ * major_)});
    hit.defer(SurfaceHit::Coordinates::kTwoTurns, p.x, p.z, ring - major_, p.y);
    return true;
  }
  return false;
}

bool Torus::inside(const Vec3& p) const {
  const Vec3 f = toFrame(p - centre_);
  const double ring = std::sqrt(f.x * f.x + f.z * f.z) - major_;
  return ring * ring + f.y * f.y < minor_ * minor_;
}

Bounds Torus::bounds() const {
  const Vec3 reach = circleReach(axis_, major_) + Vec3{minor_, minor_, minor_};
  return {centre_ - reach, centre_ + reach};
}

}  // namespace lumetra::renderlib
