#pragma once

#include "image/image.h"
#include "texture/image_map_settings.h"
#include "texture/map_point.h"
#include "texture/texture.h"

namespace lumetra::texture {

// The [image map] pigment: the colour of the image pixel a point maps to; white outside
// a once-only image, nothing written where the point cannot be mapped.
class ImagePigment final : public Pigment {
 public:
  ImagePigment(const image::Image* image, const BitmapModifiers& modifiers)
      : image_(image), modifiers_(modifiers) {}
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Pigment> Clone() const override { return std::make_unique<ImagePigment>(*this); }
  // Only an image's alpha lets light through; points outside a once-only image are opaque white.
  bool LetsLightThrough() const override { return image_->HasAlpha(); }
  bool ReadsSurfaceCoordinates() const override { return UsesSurfaceCoordinates(modifiers_.mapType); }

  const BitmapModifiers& Modifiers() const { return modifiers_; }

 private:
  const image::Image* image_;  // owned by the scene's ImageList
  BitmapModifiers modifiers_;
};

}  // namespace lumetra::texture
