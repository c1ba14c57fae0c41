#include "texture/media.h"

#include <algorithm>

namespace lumetra::texture {

void Media::Evaluate(const ShadingPoint& point, float density[3], float emissionOut[4],
                     float scatteringOut[4], float absorptionOut[4]) const {
  if (densities.empty()) {
    std::fill(density, density + 3, 1.0f);
  } else {
    std::fill(density, density + 3, 0.0f);
    for (const ClonePtr<Pigment>& pigment : densities) {
      ShadingPoint copy = point;
      SurfaceSample sample{};
      pigment->Eval(copy, sample);
      for (int c = 0; c < 3; ++c) density[c] += sample.color[c];
    }
  }
  // Scattered light is lost to the ray as well, half as much, scaled by the extinction.
  const float scatteringLoss = extinctionSet ? 0.5f * extinction : 0.5f;
  for (int c = 0; c < 3; ++c) {
    emissionOut[c] = emission[c];
    scatteringOut[c] = scattering[c];
    absorptionOut[c] = absorption[c] + scattering[c] * scatteringLoss;
  }
}

}  // namespace lumetra::texture
