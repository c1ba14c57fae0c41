#include "texture/pattern_pigment.h"

#include <algorithm>

#include "texture/map_lookup.h"

namespace lumetra::texture {

PatternPigment::PatternPigment(PatternId id) {
  pattern.id = id;
  PrepareNoiseFor(id, Noise());
}

Colour PatternPigment::ColourAt(double v) const {
  if (colourMap.empty()) {
    const float grey = static_cast<float>(v);
    return {grey, grey, grey, 0.0f, 0.0f};
  }
  const MapPosition at = LookUp(colourMap, v);
  return BlendColours(colourMap[at.first].colour, colourMap[at.second].colour, at.t);
}

bool PatternPigment::LetsLightThrough() const {
  // Blends of opaque colours stay opaque; an empty map gives opaque greys.
  return std::any_of(colourMap.begin(), colourMap.end(),
                     [](const Entry& entry) { return texture::LetsLightThrough(entry.colour); });
}

void PatternPigment::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  ColourToSample(sample, ColourAt(WarpedPatternValue(*this, pattern, point)));
}

}  // namespace lumetra::texture
