#include "texture/black_hole_warp.h"

#include <algorithm>
#include <cmath>

#include "texture/random.h"

namespace lumetra::texture {
namespace {

double RepeatCell(double coordinate, double period) {
  return period > 1e-20 ? std::floor(coordinate / period) : 0.0;
}

double Jitter(double amount) { return 2.0 * (0.5 - RandUnit()) * amount; }

}  // namespace

math::Vector3 BlackHoleWarp::CentreNear(const math::Vector3& p) const {
  math::Vector3 c = centre;
  if (!Repeats()) return c;
  const math::Vector3 cell{RepeatCell(p.x, repeat.x), RepeatCell(p.y, repeat.y), RepeatCell(p.z, repeat.z)};
  if (Jitters()) {
    // A point that is infinite or not a number (a zero texture scale) seeds as cell 0.
    const double cellSum = std::trunc(cell.z * 496.0 + cell.y * 28.0 + cell.x);
    const double seed = std::isfinite(cellSum) ? std::clamp(cellSum, -9.0e18, 9.0e18) : 0.0;
    Seed(static_cast<std::uint32_t>(static_cast<std::int64_t>(seed)));
    c.x += Jitter(turbulence.x);
    c.y += Jitter(turbulence.y);
    c.z += Jitter(turbulence.z);
  }
  return {c.x + cell.x * repeat.x, c.y + cell.y * repeat.y, c.z + cell.z * repeat.z};
}

math::Vector3 BlackHoleWarp::Apply(const math::Vector3& in) const {
  const math::Vector3 d = CentreNear(in) - in;
  const double distance = math::Length(d);
  if (!(distance < radius)) return in;
  double s = std::min(std::pow((radius - distance) / radius, falloff) * strength, 1.0);
  if (!inverse) s = -s;
  return in + d * s;
}

}  // namespace lumetra::texture
