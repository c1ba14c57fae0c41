#include "box.h"

namespace lumetra::renderlib {

bool Box::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  double enter = -std::numeric_limits<double>::infinity();
  double leave = std::numeric_limits<double>::infinity();
  int enter_axis = 0, leave_axis = 0;
  double enter_side = -1, leave_side = 1;
  for (int axis = 0; axis < 3; ++axis) {
    const double origin = ray.origin[axis], direction = ray.direction[axis];
    if (direction == 0) {
      if (origin < lower_[axis] || origin > upper_[axis]) return false;
      continue;
    }
    double near = (lower_[axis] - origin) / direction;
    double far = (upper_[axis] - origin) / direction;
    double near_side = -1;
    if (near > far) {
      std::swap(near, far);
      near_side = 1;
    }
    if (near > enter) {
      enter = near;
      enter_axis = axis;
      enter_side = near_side;
    }
    if (far < leave) {
      leave = far;
      leave_axis = axis;
      leave_side = -near_side;
    }
  }
  if (enter > leave) return false;
  if (enter > tmin && enter < tmax) {
    hit.t = enter;
    fillFace(ray.at(enter), enter_axis, enter_side, hit);
    return true;
  }
  if (leave > tmin && leave < tmax) {
    hit.t = leave;
    fillFace(ray.at(leave), leave_axis, leave_side, hit);
    return true;
  }
  return false;
}

void Box::fillFace(const Vec3& point, int axis, double side, SurfaceHit& hit) const {
  static constexpr int kUAxis[3] = {2, 0, 0};
  static constexpr int kVAxis[3] = {1, 2, 1};
  auto fraction = [&](int a) {
    const double extent = upper_[a] - lower_[a];
    return extent > 0 ? (point[a] - lower_[a]) / extent : 0.0;
  };
  hit.normal = {axis == 0 ? side : 0, axis == 1 ? side : 0, axis == 2 ? side : 0};
  hit.setCoordinates(fraction(kUAxis[axis]), fraction(kVAxis[axis]));
}

bool Box::inside(const Vec3& p) const {
  return p.x > lower_.x && p.x < upper_.x && p.y > lower_.y && p.y < upper_.y && p.z > lower_.z &&
         p.z < upper_.z;
}

}  // namespace lumetra::renderlib
