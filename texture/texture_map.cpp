#include "texture/texture_map.h"

#include <algorithm>

#include "texture/lit_layer.h"
#include "texture/map_lookup.h"
#include "texture/surface_sample.h"

namespace lumetra::texture {

TextureMap::TextureMap(PatternId id) {
  pattern.id = id;
  PrepareNoiseFor(id, Noise());
}

// An empty map leaves the sample as it came, which need not be opaque.
bool TextureMap::LetsLightThrough() const {
  return entries.empty() || std::any_of(entries.begin(), entries.end(), [](const Entry& entry) {
           return !entry.texture || entry.texture->LetsLightThrough();
         });
}

void TextureMap::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  const double v = WarpedPatternValue(*this, pattern, point);
  if (entries.empty()) return;
  const MapPosition at = LookUp(entries, v);
  const std::uint32_t flags = lighting.shadingFlags;
  const LitLayer first = ShadeLitLayer(*entries[at.first].texture, point, sample, lighting, flags);
  float colour[4];
  std::copy(first.colour, first.colour + 4, colour);
  if (at.Blends()) {
    const LitLayer second = ShadeLitLayer(*entries[at.second].texture, point, sample, lighting, flags);
    for (int c = 0; c < 4; ++c) colour[c] = (1.0f - at.t) * first.colour[c] + at.t * second.colour[c];
  }
  std::copy(colour, colour + 4, sample.color);
  MarkSampleLit(sample);
}

}  // namespace lumetra::texture
