#include "texture/repeat_warp.h"

#include <cmath>

namespace texture {
namespace {

double& Component(lmath::Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
double Component(const lmath::Vector3& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

}  // namespace

lmath::Vector3 RepeatWarp::Apply(const lmath::Vector3& in) const {
  const double cell = std::trunc(std::floor(Component(in, axis) / width));
  lmath::Vector3 q = in;
  // Every cell repeats the first; odd cells mirror it where the flips say so.
  Component(q, axis) -= cell * width;
  if (std::fmod(cell, 2.0) != 0.0) {
    q = {q.x * flip.x, q.y * flip.y, q.z * flip.z};
    if (Component(flip, axis) < 0.0) Component(q, axis) += width;
  }
  return q + offset * cell;
}

}  // namespace texture
