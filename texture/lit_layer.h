#pragma once

#include "texture/lighting.h"
#include "texture/texture.h"

namespace lumetra::texture {

// A texture shaded on copies of the point and sample, lit as one layer of a blend.
struct LitLayer {
  ShadingPoint point;
  SurfaceSample sample;
  float colour[4];
};

// Shades `texture` on copies and lights the copy with `flags` as the shading flags. Without
// a lighting function the layer's colour is its unlit sample colour.
LitLayer ShadeLitLayer(const Texture& texture, const ShadingPoint& point, const SurfaceSample& sample,
                       const Lighting& lighting, std::uint32_t flags);

}  // namespace lumetra::texture
