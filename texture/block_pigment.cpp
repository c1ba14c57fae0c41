#include "texture/block_pigment.h"

#include <algorithm>

namespace lumetra::texture {

bool BlockPigment::LetsLightThrough() const {
  if (!pigments.empty()) {
    return std::any_of(pigments.begin(), pigments.end(), [](const ClonePtr<Pigment>& pigment) {
      return !pigment || pigment->LetsLightThrough();
    });
  }
  return std::any_of(colours.begin(), colours.end(),
                     [](const Colour& colour) { return texture::LetsLightThrough(colour); });
}

void BlockPigment::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 p = TransformPoint(PointOf(point));
  SetPoint(point, p);
  const std::size_t index = static_cast<std::size_t>(block.Index(p));
  if (!pigments.empty()) {
    if (index < pigments.size() && pigments[index]) pigments[index]->Eval(point, sample);
    return;
  }
  ColourToSample(sample, index < colours.size() ? colours[index] : Colour{});
}

}  // namespace lumetra::texture
