// Bicubic Bezier patches, shown as a grid of triangles a patch (UV subdivision) with the
// surface's exact normals at the grid points. (u, v) run 0..1 across each patch.
#pragma once

#include <array>
#include <vector>

#include "tessellated.h"

namespace lumetra::renderlib {

class SplineMesh final : public TessellatedSource {
 public:
  // patches: 16 indices each into points, four rows of four.
  SplineMesh(std::vector<Vec3> points, std::vector<std::array<int, 16>> patches)
      : points_(std::move(points)), patches_(std::move(patches)) {}
  MeshInput tessellate() const override;
  bool smoothed() const override { return false; }

  size_t pointCount() const { return points_.size(); }
  void setPoints(std::vector<Vec3> points) { points_ = std::move(points); }
  // Grid points a patch along u and v, at least 2 each.
  void setSteps(int u_steps, int v_steps) {
    u_steps_ = u_steps;
    v_steps_ = v_steps;
  }

 private:
  std::vector<Vec3> points_;
  std::vector<std::array<int, 16>> patches_;
  int u_steps_ = 9, v_steps_ = 9;
};

}  // namespace lumetra::renderlib
