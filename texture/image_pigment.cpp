#include "texture/image_pigment.h"

#include "texture/colour.h"
#include "texture/image_mapping.h"

namespace lumetra::texture {
namespace {

constexpr int32_t kBilinear = 2;

Colour Bilinear(const image::Image& image, const ImageSpot& spot) {
  const int32_t x1 = NextWrapped(spot.x, image.Width());
  const Colour top = BlendColours(image.Colour(spot.x, spot.row), image.Colour(x1, spot.row), spot.fractionX);
  const Colour bottom =
      BlendColours(image.Colour(spot.x, spot.nextRow), image.Colour(x1, spot.nextRow), spot.fractionX);
  return BlendColours(top, bottom, spot.fractionRow);
}

}  // namespace

void ImagePigment::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 warped = TransformPoint(PointOf(point));
  ImageSpot spot;
  const ImageHit hit = LocateOnImage(*image_, modifiers_, warped, point, spot);
  if (hit == ImageHit::kUnmapped) return;
  if (hit == ImageHit::kOutside) {
    ColourToSample(sample, Colour{1.0f, 1.0f, 1.0f, 0.0f, 0.0f});
    return;
  }
  const bool bilinear = modifiers_.interpolate && modifiers_.interpolation == kBilinear;
  ColourToSample(sample, bilinear ? Bilinear(*image_, spot) : image_->Colour(spot.x, spot.row));
}

}  // namespace lumetra::texture
