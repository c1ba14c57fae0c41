#pragma once

#include "image/image.h"
#include "texture/image_map_settings.h"
#include "texture/map_point.h"
#include "texture/texture.h"

namespace lumetra::texture {

// The [bump map] normal: tilts the normal by the differences of image intensity
// towards the pixel's neighbours along x and along the rows.
class BumpMapNormal final : public Normal {
 public:
  BumpMapNormal(const image::Image* image, const BitmapModifiers& modifiers)
      : image_(image), modifiers_(modifiers) {}
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Normal> Clone() const override { return std::make_unique<BumpMapNormal>(*this); }
  bool ReadsSurfaceCoordinates() const override { return UsesSurfaceCoordinates(modifiers_.mapType); }

  float bumpAmount = 1.0f;  // set by [bump size]

 private:
  // Intensity of a stored pixel: weighted colour, or the palette index / 255.
  float Intensity(int32_t x, int32_t row) const;

  const image::Image* image_;  // owned by the scene's ImageList
  BitmapModifiers modifiers_;
};

}  // namespace lumetra::texture
