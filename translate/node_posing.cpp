#include "translate/node_posing.h"

#include <algorithm>

namespace lumetra::translate {

using namespace lumetra::texture;
namespace {

// The smoother the surface the sharper its highlight: the exponent is 1 / roughness, up to
// that of the smoothest roughness, which roughness 0 takes too (its own exponent would be
// infinite, a highlight too fine to see). A negative roughness keeps the default.
constexpr double kSmoothestRoughness = 1e-4;

float SpecularExponent(double roughness, float defaultExponent) {
  if (!(roughness >= 0.0)) return defaultExponent;
  return static_cast<float>(1.0 / std::max(roughness, kSmoothestRoughness));
}

Media::Rgb RgbOf(const abi::ColorParams& c) {
  return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

}  // namespace

void TakeFinishParams(const abi::FinishParams& params, Finish& finish) {
  finish.ambient = static_cast<float>(params.ambient);
  finish.diffuse = static_cast<float>(params.diffuse);
  finish.phong = static_cast<float>(params.phong);
  finish.phongSize = static_cast<float>(params.phongSize);
  finish.specular = static_cast<float>(params.specular);
  finish.specularExponent = SpecularExponent(params.roughness, Finish{}.specularExponent);
  finish.metallic = params.metallicSet != 0 ? static_cast<float>(params.metallic) : 0.0f;
}

void TakeNoiseParams(const abi::NoiseModifierParams& params, NoiseParams& noise) {
  noise.octaves = static_cast<std::int32_t>(params.octaves);
  noise.omega = params.omega;
  noise.lambda = params.lambda;
  noise.frequency = params.frequency;
  noise.phase = params.phase;
  noise.waveShape = static_cast<std::int32_t>(params.waveShape);
}

bool TakeMediaColour(const abi::TextureBlock& node, Media& media) {
  switch (node.kind) {
    case abi::kNodeAbsorption:
      media.absorption = RgbOf(node.params.color);
      return true;
    case abi::kNodeEmission:
      media.emission = RgbOf(node.params.color);
      return true;
    case abi::kNodeScattering:
      media.scattering = RgbOf(node.params.color);
      return true;
    default:
      return false;
  }
}

bool PoseTrackedNode(std::uintptr_t target, const abi::TextureBlock& node) {
  if (target == 0) return false;
  switch (node.kind) {
    case abi::kNodeFinish:
      TakeFinishParams(node.params.finish, *reinterpret_cast<Finish*>(target));
      return true;
    case abi::kNodeNoiseModifiers: {
      auto& noise = *reinterpret_cast<NoiseParams*>(target);
      TakeNoiseParams(node.params.noise, noise);
      if (noise.turbulenceOn) {
        const abi::NoiseModifierParams& params = node.params.noise;
        const bool perAxis = params.perAxis != 0;
        noise.turbulenceX = perAxis ? params.turbulenceXyz[0] : params.turbulence;
        noise.turbulenceY = perAxis ? params.turbulenceXyz[1] : params.turbulence;
        noise.turbulenceZ = perAxis ? params.turbulenceXyz[2] : params.turbulence;
      }
      return true;
    }
    default:
      return TakeMediaColour(node, *reinterpret_cast<Media*>(target));
  }
}

}  // namespace lumetra::translate
