#include "texture/layered_texture.h"

#include <algorithm>

#include "texture/lit_layer.h"
#include "texture/surface_sample.h"

namespace lumetra::texture {
namespace {

// Below this the layers let nothing worth passing on through.
constexpr double kLeastTransmission = 9.999999747378752e-06;
constexpr double kLeastLayerWeight = 1e-6;

}  // namespace

bool LayeredTexture::LetsLightThrough() const {
  return std::all_of(layers.begin(), layers.end(),
                     [](const ClonePtr<Texture>& layer) { return !layer || layer->LetsLightThrough(); });
}

void LayeredTexture::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  double weight = 1.0;
  float sum[3] = {0.0f, 0.0f, 0.0f};
  float filter[3] = {1.0f, 1.0f, 1.0f};
  // Layers are lit without transmission: what shows through is this texture's business.
  const std::uint32_t flags = lighting.shadingFlags & ~static_cast<std::uint32_t>(L2_SHADE_TRANSMISSION);
  for (const ClonePtr<Texture>& layer : layers) {
    ShadingPoint layerPoint = point;
    layerPoint.depth += 1.0;
    layerPoint.weight *= weight;
    const LitLayer lit = ShadeLitLayer(*layer, layerPoint, sample, lighting, flags);
    for (int c = 0; c < 3; ++c) sum[c] += static_cast<float>(lit.colour[c] * weight);
    if (lit.sample.transmission <= 0.0f) {
      weight = 0.0;
      break;
    }
    for (int c = 0; c < 3; ++c) filter[c] *= lit.sample.transmitted_color[c];
    weight = 1.0 - lit.sample.color[3];
    if (weight < kLeastLayerWeight) break;
  }
  sample.color[0] = sum[0];
  sample.color[1] = sum[1];
  sample.color[2] = sum[2];
  sample.color[3] = 1.0f;
  MarkSampleLit(sample);
  if (weight >= kLeastTransmission) {
    sample.transmission = static_cast<float>(weight);
    for (int c = 0; c < 3; ++c) sample.transmitted_color[c] = filter[c];
    sample.ior = indexOfRefraction;
    sample.flags = kSampleTransmission;
  }
}

}  // namespace lumetra::texture
