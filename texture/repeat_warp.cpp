#include "texture/repeat_warp.h"

#include <cmath>

namespace lumetra::texture {
namespace {

double& Component(math::Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
double Component(const math::Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

}  // namespace

math::Vector3 RepeatWarp::Apply(const math::Vector3& in) const {
  const double cell = std::trunc(std::floor(Component(in, axis) / width));
  math::Vector3 q = in;
  // Every cell repeats the first; odd cells mirror it where the flips say so.
  Component(q, axis) -= cell * width;
  if (std::fmod(cell, 2.0) != 0.0) {
    q = {q.x * flip.x, q.y * flip.y, q.z * flip.z};
    if (Component(flip, axis) < 0.0) Component(q, axis) += width;
  }
  return q + offset * cell;
}

}  // namespace lumetra::texture
