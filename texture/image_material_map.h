#pragma once

#include <vector>

#include "image/image.h"
#include "texture/clone_ptr.h"
#include "texture/image_map_settings.h"
#include "texture/texture.h"

namespace lumetra::texture {

// The [material map]: the pixel value a point maps to (palette index or packed colour)
// modulo the number of textures picks the texture that shades it. Points that cannot
// be mapped, or fall outside a once-only image, are not shaded.
class MaterialMap final : public Texture {
 public:
  MaterialMap(const image::Image* image, const BitmapModifiers& modifiers)
      : image_(image), modifiers_(modifiers) {}
  void Shade(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<MaterialMap>(*this); }

  void AddTexture(std::unique_ptr<Texture> texture) { textures_.emplace_back(std::move(texture)); }
  size_t TextureCount() const { return textures_.size(); }

 private:
  const image::Image* image_;  // owned by the scene's ImageList
  BitmapModifiers modifiers_;
  std::vector<ClonePtr<Texture>> textures_;
};

}  // namespace lumetra::texture
