// Height fields: a grid of samples, two triangles a cell, either over the x-z plane or
// raising the unit sphere.
#pragma once

#include <cstdint>
#include <vector>

#include "tessellated.h"

namespace lumetra::renderlib {

class HeightField final : public TessellatedSource {
 public:
  // heights: columns x rows, row by row, already scaled (sample / 255 or / 256).
  HeightField(int columns, int rows, std::vector<double> heights, int bits, bool spherical);
  MeshInput tessellate() const override;
  bool smoothed() const override { return smooth_; }

  void setSmooth() { smooth_ = true; }
  bool spherical() const { return spherical_; }
  // Degrees: latitude within -90..90, longitude min below max.
  bool setSphericalBounds(double latitude_min, double latitude_max, double longitude_min,
                          double longitude_max);
  int bits() const { return bits_; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }

 private:
  Vec3 position(int column, int row) const;

  int columns_, rows_;
  std::vector<double> heights_;
  int bits_;
  bool spherical_;
  bool smooth_ = false;
  double latitude_min_ = -90, latitude_max_ = 90, longitude_min_ = 0, longitude_max_ = 360;
};

}  // namespace lumetra::renderlib
