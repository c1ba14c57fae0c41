#pragma once

#include <vector>

#include "outline.h"
#include "shape.h"

namespace lumetra::renderlib {

// An open outline (x: distance from the axis, y: height) turned about the y axis. Each piece
// meets a ray where a polynomial of twice the piece's degree vanishes (Sturm sequences).
// Its inside is the outline closed by a straight line from its end to its start.
// u: turn about y from +x towards +z, v: (piece + s) / pieces along the outline.
class Lathe final : public Shape {
 public:
  explicit Lathe(std::vector<OutlinePiece> pieces) : pieces_(std::move(pieces)) {}
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override;
  Bounds bounds() const override;

  void setPieces(std::vector<OutlinePiece> pieces) { pieces_ = std::move(pieces); }

 private:
  // Ray parameters where the ray meets one piece, with the piece's s.
  int pieceCrossings(const OutlinePiece& piece, const Ray& ray, double t[6], double s[6]) const;

  std::vector<OutlinePiece> pieces_;
};

}  // namespace lumetra::renderlib
