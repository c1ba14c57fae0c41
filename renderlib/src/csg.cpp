#include "csg.h"

#include "lumetra2.h"

namespace lumetra::renderlib {

bool PlacedShape::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const Placement& placement = operand_.placement;
  const Ray local = operand_.inOwnSpace(ray);
  if (!operand_.shape->intersect(local, tmin, tmax, hit)) return false;
  if (!placement.isIdentity()) {
    hit.normal = placement.toLocal().transposedVector(hit.normal);
    if (hit.part) hit.part_to_shape = hit.part_to_shape.then(placement.toWorld());
  }
  if (!hit.part && operand_.texture) {
    hit.part = &operand_;
    hit.part_to_shape = placement.toWorld();
  }
  return true;
}

bool PlacedShape::inside(const Vec3& p) const {
  return operand_.shape->inside(operand_.placement.isIdentity() ? p : operand_.placement.toLocal().point(p));
}

Bounds PlacedShape::bounds() const {
  return operand_.shape->bounds().transformed(operand_.placement.toWorld());
}

bool CsgNode::keeps(bool on_left, const Vec3& p) const {
  const PlacedShape& other = on_left ? right_ : left_;
  switch (operation_) {
    case L2_CSG_INTERSECTION:
      return other.inside(p);
    case L2_CSG_DIFFERENCE:
      return on_left ? !other.inside(p) : other.inside(p);
    case L2_CSG_MERGE:
      return !other.inside(p);
    default:  // a union keeps every surface, inner ones included
      return true;
  }
}

bool CsgNode::nearestKept(bool on_left, const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  const PlacedShape& side = on_left ? left_ : right_;
  for (int crossing = 0; crossing < 256; ++crossing) {
    if (!side.intersect(ray, tmin, tmax, hit)) return false;
    if (keeps(on_left, ray.at(hit.t))) {
      // What is cut away by the right operand shows its inside.
      if (!on_left && operation_ == L2_CSG_DIFFERENCE) hit.normal = -hit.normal;
      return true;
    }
    tmin = hit.t + 1e-9 * (1 + std::fabs(hit.t));
  }
  return false;
}

bool CsgNode::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  bool found = nearestKept(true, ray, tmin, tmax, hit);
  SurfaceHit right_hit;
  if (nearestKept(false, ray, tmin, found ? hit.t : tmax, right_hit)) {
    hit = right_hit;
    found = true;
  }
  return found;
}

bool CsgNode::inside(const Vec3& p) const {
  switch (operation_) {
    case L2_CSG_INTERSECTION:
      return left_.inside(p) && right_.inside(p);
    case L2_CSG_DIFFERENCE:
      return left_.inside(p) && !right_.inside(p);
    default:
      return left_.inside(p) || right_.inside(p);
  }
}

Bounds CsgNode::bounds() const {
  const Bounds left = left_.bounds();
  if (operation_ == L2_CSG_DIFFERENCE) return left;
  const Bounds right = right_.bounds();
  if (operation_ == L2_CSG_INTERSECTION) {
    return {componentMax(left.lower, right.lower), componentMin(left.upper, right.upper)};
  }
  return {componentMin(left.lower, right.lower), componentMax(left.upper, right.upper)};
}

}  // namespace lumetra::renderlib
