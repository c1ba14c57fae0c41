#include "texture/pixel_position.h"

#include <algorithm>
#include <cmath>

namespace lumetra::texture {
namespace {

// Brings a coordinate into [0, 1]; false when it lies outside and may not repeat.
bool Wrap(float& coordinate, bool once) {
  if (!std::isfinite(coordinate)) return false;
  if (coordinate >= 0.0f && coordinate <= 1.0f) return true;
  if (once) return false;
  coordinate = std::fmod(coordinate, 1.0f);
  if (coordinate < 0.0f) coordinate += 1.0f;
  return true;
}

int32_t Cell(int32_t count, float coordinate) {
  return static_cast<int32_t>(std::trunc(static_cast<double>(count) * coordinate));
}

}  // namespace

bool PixelPosition(const image::Image& image, float u, float v, bool once, int32_t& x, int32_t& y) {
  if (!Wrap(u, once) || !Wrap(v, once)) return false;
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  x = std::clamp(Cell(width, u), 0, width - 1);
  const int32_t row = Cell(height, v);
  y = std::clamp(image.IsBottomUp() ? height - row - 1 : row, 0, height - 1);
  return true;
}

}  // namespace lumetra::texture
