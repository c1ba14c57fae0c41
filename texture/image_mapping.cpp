#include "texture/image_mapping.h"

#include <cmath>

#include "texture/map_point.h"
#include "texture/pixel_position.h"

namespace lumetra::texture {
namespace {

float Fraction(float coordinate, int32_t count) {
  const double scaled = static_cast<double>(coordinate) * count;
  return static_cast<float>(scaled - std::floor(scaled));
}

}  // namespace

ImageHit LocateOnImage(const image::Image& image, const BitmapModifiers& modifiers,
                       const math::Vector3& point, const ShadingPoint& record, ImageSpot& spot) {
  float u = 0.0f;
  float v = 0.0f;
  if (!MapPoint(modifiers.mapType, point, record.u, record.v, u, v)) return ImageHit::kUnmapped;
  if (!PixelPosition(image, u, v, modifiers.once, spot.x, spot.row)) return ImageHit::kOutside;
  spot.fractionX = Fraction(u, image.Width());
  spot.fractionRow = Fraction(v, image.Height());
  // Stored rows run against v in a bottom-up image.
  const int32_t last = image.Height() - 1;
  spot.nextRow =
      image.IsBottomUp() ? (spot.row > 0 ? spot.row - 1 : last) : NextWrapped(spot.row, image.Height());
  return ImageHit::kInside;
}

}  // namespace lumetra::texture
