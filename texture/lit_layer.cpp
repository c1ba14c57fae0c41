#include "texture/lit_layer.h"

#include <algorithm>
#include <atomic>

#include "platform/debug_log.h"

namespace lumetra::texture {

LitLayer ShadeLitLayer(const Texture& texture, const ShadingPoint& point, const SurfaceSample& sample,
                       const Lighting& lighting, std::uint32_t flags) {
  LitLayer layer{point, sample, {}};
  texture.Shade(layer.point, layer.sample);
  std::copy(layer.sample.color, layer.sample.color + 4, layer.colour);
  if (lighting.shadePoint) {
    // Outside a render the library refuses and leaves the colour as it was; any other
    // refusal leaves the layers of a render unlit, which is said once.
    const int32_t result =
        lighting.shadePoint(lighting.scene, lighting.view, flags, &layer.point, &layer.sample, layer.colour);
    static std::atomic_flag reported = ATOMIC_FLAG_INIT;
    if (result != L2_OK && result != L2_ERROR_STATE && !reported.test_and_set()) {
      platform::DebugLog::Printf("ShadePoint refused (%d): blended layers stay unlit\n", result);
    }
  }
  return layer;
}

}  // namespace lumetra::texture
