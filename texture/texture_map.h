#pragma once

#include <vector>

#include "texture/clone_ptr.h"
#include "texture/lighting.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Whole textures chosen by a pattern value; neighbouring entries are shaded, lit and their
// colours blended, so the result is already lit.
class TextureMap final : public Texture {
 public:
  struct Entry {
    float value = 0.0f;
    ClonePtr<Texture> texture;
  };

  explicit TextureMap(PatternId id = PatternId::kAgate);

  void Shade(ShadingPoint& point, SurfaceSample& sample) const override;
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override {
    return AnyReadsSurfaceCoordinates(
        entries, [](const Entry& entry) -> const auto& { return entry.texture; });
  }
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<TextureMap>(*this); }

  PatternChoice pattern;
  std::vector<Entry> entries;
  Lighting lighting;
};

}  // namespace lumetra::texture
