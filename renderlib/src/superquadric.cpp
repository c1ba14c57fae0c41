#include "superquadric.h"

#include "bracketed_root.h"
#include "power.h"

#include <algorithm>
#include <array>

namespace lumetra::renderlib {
namespace {

constexpr int kSamplesPerPiece = 24;

// The ray's stretch inside the cube -1..1 (a hair larger, so faces are not lost).
bool clipToCube(const Ray& ray, double& enter, double& leave) {
  enter = -std::numeric_limits<double>::infinity();
  leave = std::numeric_limits<double>::infinity();
  for (int axis = 0; axis < 3; ++axis) {
    const double o = ray.origin[axis], d = ray.direction[axis];
    if (d == 0) {
      if (std::fabs(o) > 1 + 1e-9) return false;
      continue;
    }
    double near = (-1 - 1e-9 - o) / d, far = (1 + 1e-9 - o) / d;
    if (near > far) std::swap(near, far);
    enter = std::max(enter, near);
    leave = std::min(leave, far);
  }
  return enter < leave;
}

// |value| to the exponent.
double signedPower(double value, double exponent) {
  return value == 0 ? 0 : power(std::fabs(value), exponent);
}

}  // namespace

double Superquadric::value(const Vec3& p) const {
  const double across = signedPower(p.x, 2 / east_west_) + signedPower(p.y, 2 / east_west_);
  return signedPower(across, east_west_ / north_south_) + signedPower(p.z, 2 / north_south_) - 1;
}

Vec3 Superquadric::gradient(const Vec3& p) const {
  const double a = 2 / east_west_, b = 2 / north_south_;
  const double across = signedPower(p.x, a) + signedPower(p.y, a);
  const double scale = across > 0 ? power(across, east_west_ / north_south_ - 1) : 0;
  auto part = [](double v, double exponent) {
    return v == 0 ? 0.0 : std::copysign(power(std::fabs(v), exponent - 1), v);
  };
  return {scale * part(p.x, a), scale * part(p.y, a), part(p.z, b)};
}

bool Superquadric::crossing(const Ray& ray, double from, double to, double& t) const {
  double previous_t = from, previous = value(ray.at(from));
  for (int i = 1; i <= kSamplesPerPiece; ++i) {
    const double next_t = from + (to - from) * i / kSamplesPerPiece;
    const double next = value(ray.at(next_t));
    if ((previous < 0) != (next < 0)) {
      // To the last double: the bracket closes until no double lies inside it.
      t = bracketedRoot([&](double at) { return value(ray.at(at)); }, previous_t, next_t, previous, next,
                        [](double) { return 0.0; });
      return true;
    }
    previous_t = next_t;
    previous = next;
  }
  return false;
}

bool Superquadric::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  double enter, leave;
  if (!clipToCube(ray, enter, leave)) return false;
  enter = std::max(enter, tmin);
  leave = std::min(leave, tmax);
  if (enter >= leave) return false;
  // Break points: where the ray crosses a coordinate plane (unused ones stay at leave).
  std::array<double, 5> cuts{enter, leave, leave, leave, leave};
  for (int axis = 0; axis < 3; ++axis) {
    if (ray.direction[axis] == 0) continue;
    const double t = -ray.origin[axis] / ray.direction[axis];
    if (t > enter && t < leave) cuts[2 + axis] = t;
  }
  std::sort(cuts.begin(), cuts.end());
  const int count = int(cuts.size());
  for (int piece = 0; piece + 1 < count; ++piece) {
    double t;
    if (!crossing(ray, cuts[piece], cuts[piece + 1], t) || t <= tmin || t >= tmax) continue;
    const Vec3 p = ray.at(t);
    hit.t = t;
    hit.normal = gradient(p);
    if (dot(hit.normal, hit.normal) == 0) hit.normal = p;
    hit.defer(SurfaceHit::Coordinates::kSpherical, p.x, p.y, p.z, length(p));
    return true;
  }
  return false;
}

bool Superquadric::inside(const Vec3& p) const {
  return std::fabs(p.x) < 1 && std::fabs(p.y) < 1 && std::fabs(p.z) < 1 && value(p) < 0;
}

}  // namespace lumetra::renderlib
