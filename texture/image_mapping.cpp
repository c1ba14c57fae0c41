#include "texture/image_mapping.h"

#include <cmath>

#include "texture/map_point.h"
#include "texture/pixel_position.h"

namespace texture {
namespace {

float Fraction(float coordinate, int32_t count) {
  const double scaled = static_cast<double>(coordinate) * count;
  return static_cast<float>(scaled - std::floor(scaled));
}

}  // namespace

ImageHit LocateOnImage(const Image& image, const BitmapModifiers& modifiers, const lmath::Vector3& point,
                   const ShadingPoint& record, ImageSpot& spot) {
  float u = 0.0f;
  float v = 0.0f;
  if (!MapPoint(modifiers.mapType, point, record.u, record.v, u, v)) return ImageHit::kUnmapped;
  if (!PixelPosition(image, u, v, modifiers.once, spot.x, spot.row)) return ImageHit::kOutside;
  spot.fractionX = Fraction(u, image.Width());
  // Stored rows run against v in a bottom-up image.
  const float along = Fraction(v, image.Height());
  spot.fractionRow = image.IsBottomUp() ? 1.0f - along : along;
  return ImageHit::kInside;
}

}  // namespace texture
