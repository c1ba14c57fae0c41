#pragma once

#include <vector>

#include "texture/clone_ptr.h"
#include "texture/lighting.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Textures stacked in list order: each is lit and weighted by how much the layers before it
// let through; what the last layer lets through is passed on as transmission.
class LayeredTexture final : public Texture {
 public:
  void Shade(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<LayeredTexture>(*this); }
  // The first layer that lets no light through ends the stack with nothing passed on.
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override { return AnyReadsSurfaceCoordinates(layers); }

  std::vector<ClonePtr<Texture>> layers;
  Lighting lighting;
};

}  // namespace lumetra::texture
