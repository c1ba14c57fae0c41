#pragma once

#include "shape.h"

namespace lumetra::renderlib {

// An axis-aligned box. On each face (u, v) are the other two coordinates scaled to 0..1
// across the box: x faces (z, y), y faces (x, z), z faces (x, y).
class Box final : public Shape {
 public:
  Box(const Vec3& corner, const Vec3& opposite)
      : lower_(componentMin(corner, opposite)), upper_(componentMax(corner, opposite)) {}
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override { return {lower_, upper_}; }

 private:
  void fillFace(const Vec3& point, int axis, double side, SurfaceHit& hit) const;

  Vec3 lower_, upper_;
};

}  // namespace lumetra::renderlib
