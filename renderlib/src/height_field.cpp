#include "height_field.h"

#include <cmath>
#include <numbers>

namespace lumetra::renderlib {

HeightField::HeightField(int columns, int rows, std::vector<double> heights, int bits, bool spherical)
    : columns_(columns), rows_(rows), heights_(std::move(heights)), bits_(bits), spherical_(spherical) {}

bool HeightField::setSphericalBounds(double latitude_min, double latitude_max, double longitude_min,
                                     double longitude_max) {
  if (!(latitude_min >= -90 && latitude_max <= 90 && latitude_min < latitude_max &&
        longitude_min < longitude_max && std::isfinite(longitude_min) && std::isfinite(longitude_max))) {
    return false;
  }
  latitude_min_ = latitude_min;
  latitude_max_ = latitude_max;
  longitude_min_ = longitude_min;
  longitude_max_ = longitude_max;
  return true;
}

Vec3 HeightField::position(int column, int row) const {
  const double height = heights_[size_t(row) * columns_ + column];
  if (!spherical_) return {double(column), height, double(row)};
  const double degree = std::numbers::pi / 180;
  const double longitude =
      (longitude_min_ + (longitude_max_ - longitude_min_) * column / (columns_ - 1)) * degree;
  const double latitude = (latitude_min_ + (latitude_max_ - latitude_min_) * row / (rows_ - 1)) * degree;
  const double radius = 1 + height;
  return {radius * std::cos(latitude) * std::cos(longitude), radius * std::sin(latitude),
          radius * std::cos(latitude) * std::sin(longitude)};
}

MeshInput HeightField::tessellate() const {
  MeshInput mesh;
  mesh.vertices.reserve(size_t(columns_) * rows_);
  mesh.uvs.reserve(size_t(columns_) * rows_);
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      mesh.vertices.push_back(position(column, row));
      mesh.uvs.push_back({double(column) / (columns_ - 1), double(row) / (rows_ - 1), 0});
    }
  }
  // Faces wind so their fronts look up (plain) or out (spherical).
  for (int row = 0; row + 1 < rows_; ++row) {
    for (int column = 0; column + 1 < columns_; ++column) {
      const uint32_t a = row * columns_ + column, b = a + 1, c = a + columns_, d = c + 1;
      mesh.faces.insert(mesh.faces.end(), {a, c, b, b, c, d});
    }
  }
  mesh.counter_clockwise = true;
  return mesh;
}

}  // namespace lumetra::renderlib
