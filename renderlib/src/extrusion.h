#pragma once

#include <vector>

#include "outline.h"
#include "shape.h"

namespace lumetra::renderlib {

// Closed outlines in the x-y plane extruded along z from start to end (sweeps have one,
// glyphs any number; nonzero winding decides what is inside). With the cone flag the
// outline is scaled by z / end, meeting the z axis at z = 0. A side piece meets a ray where
// a x(s) + b y(s) + c vanishes; caps are tested by winding. u: (piece + s) / pieces on the
// sides, the outline's x on the caps; v: (z - start) / (end - start) on the sides, y on the
// caps.
class Extrusion final : public Shape {
 public:
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

  void setOutlines(std::vector<std::vector<OutlinePiece>> outlines) { outlines_ = std::move(outlines); }
  void addOutline(std::vector<OutlinePiece> outline) { outlines_.push_back(std::move(outline)); }
  bool setExtent(double start, double end);
  bool setCone(bool cone);

 private:
  double scaleAt(double z) const { return cone_ ? z / end_ : 1.0; }
  bool hitSides(const Ray& ray, double tmin, double& tmax, SurfaceHit& hit) const;
  bool hitCap(const Ray& ray, double z, double tmin, double& tmax, SurfaceHit& hit) const;

  std::vector<std::vector<OutlinePiece>> outlines_;
  double start_ = 0, end_ = 1;
  bool cone_ = false;
};

}  // namespace lumetra::renderlib
