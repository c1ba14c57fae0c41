// Constructive solid geometry: leaves that show an operand primitive under its transform, and
// nodes that join two operands by union, intersection, difference or merge.
#pragma once

#include "primitive.h"

namespace lumetra::renderlib {

// An operand seen from its parent: its geometry carried by its own transform. Textured
// operands mark their hits, so each part keeps its texture.
class PlacedShape final : public Shape {
 public:
  explicit PlacedShape(const Primitive& operand) : operand_(operand) {}
  const Primitive& operand() const { return operand_; }
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

 private:
  const Primitive& operand_;
};

class CsgNode final : public Shape {
 public:
  CsgNode(int operation, const Primitive& left, const Primitive& right)
      : operation_(operation), left_(left), right_(right) {}
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;
  const Primitive& left() const { return left_.operand(); }
  const Primitive& right() const { return right_.operand(); }

 private:
  // Whether a crossing of one side at p belongs to the node's surface.
  bool keeps(bool on_left, const Vec3& p) const;
  bool nearestKept(bool on_left, const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const;

  int operation_;
  PlacedShape left_, right_;
};

}  // namespace lumetra::renderlib
