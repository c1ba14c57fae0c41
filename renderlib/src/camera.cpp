#include "camera.h"

#include <cmath>
#include <numbers>

namespace lumetra::renderlib {
namespace {

// The view's up, or, when it is null or parallel to the view direction (looking straight
// up or down), the world axis that the direction lies furthest from, as other renderers do.
Vec3 soundUp(const Vec3& forward, const Vec3& up) {
  if (length(cross(forward, up)) > 1e-12 * length(up)) return up;
  return std::fabs(forward.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{0, 1, 0};
}

}  // namespace

Camera::Camera(const View& view) : origin_(view.location), width_(view.width), height_(view.height) {
  forward_ = normalized(view.interest - view.location);
  // A positive aspect means a left-handed world: x lies to the right of the image.
  const Vec3 up = soundUp(forward_, view.up);
  const Vec3 side = view.aspect >= 0 ? cross(up, forward_) : cross(forward_, up);
  right_ = normalized(side);
  up_ = view.aspect >= 0 ? cross(forward_, right_) : cross(right_, forward_);
  const double half_height = std::tan(view.angle * std::numbers::pi / 360.0);
  up_ *= half_height;
  right_ *= half_height * std::fabs(view.aspect);
}

Ray Camera::primaryRay(double x, double y) const {
  const Vec3 direction = forward_ + right_ * (2 * x / width_ - 1) + up_ * (1 - 2 * y / height_);
  return {origin_, normalized(direction)};
}

}  // namespace lumetra::renderlib
