#include "texture/lit_layer.h"

#include <algorithm>

namespace texture {

LitLayer ShadeLitLayer(const Texture& texture, const ShadingPoint& point,
                       const SurfaceSample& sample, const Lighting& lighting,
                       std::uint32_t flags) {
  LitLayer layer{point, sample, {}};
  texture.Shade(layer.point, layer.sample);
  std::copy(layer.sample.color, layer.sample.color + 4, layer.colour);
  if (lighting.shadePoint) {
    // Outside a render the library refuses and leaves the colour as it was.
    (void)lighting.shadePoint(lighting.scene, lighting.view, flags, &layer.point, &layer.sample,
                              layer.colour);
  }
  return layer;
}

}  // namespace texture
