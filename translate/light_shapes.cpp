#include "translate/library_result.h"
#include "translate/light_fading.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

constexpr double kAreaJitter = 0.5;

L2Light MakeSpotLight(L2Scene scene, const abi::LightParams& light) {
  const L2Light spot = CreateSpotLight(scene);
  if (spot == 0) return 0;
  LogRefusal(SetLightLocation(scene, spot, 0, 0, 0), "SetLightLocation");
  LogRefusal(SetSpotLightCoeffs(scene, spot, 0, 0, -2, light.tightness, light.radius, light.falloff),
             "SetSpotLightCoeffs");
  return spot;
}

L2Light MakeAreaLight(L2Scene scene, const abi::LightParams& light) {
  const L2Light area = CreateAreaLight(scene);
  if (area == 0) return 0;
  const auto sample = [&](int i) { return static_cast<int32_t>(light.samples[i]); };
  LogRefusal(SetAreaLight(scene, area, sample(0), sample(1), sample(2), light.jitter ? kAreaJitter : 0.0),
             "SetAreaLight");
  PlaceAreaSquare(scene, area);
  return area;
}

L2Light CreateByType(L2Scene scene, std::uint32_t type, const abi::LightParams& light) {
  switch (type) {
    case abi::kTypePointLight:
      return CreateLight(scene);
    case abi::kTypeSpotLight:
      return MakeSpotLight(scene, light);
    case abi::kTypeAreaLight:
      return MakeAreaLight(scene, light);
    default:
      return 0;
  }
}

}  // namespace

void PlaceAreaSquare(L2Scene scene, L2Light area) {
  LogRefusal(TranslatePrim(scene, area, -0.5, 0, -0.5), "TranslatePrim");
  LogRefusal(ScalePrim(scene, area, 2, 2, 2), "ScalePrim");
  LogRefusal(RotatePrim(scene, area, 90, 0, 0), "RotatePrim");
}

bool IsLight(std::uint32_t type) {
  return type == abi::kTypePointLight || type == abi::kTypeSpotLight || type == abi::kTypeAreaLight;
}

L2Primitive MakeLight(const ShapeSource& source) {
  const abi::LightParams& light = source.object.Shape().light;
  const L2Scene scene = source.scene;
  const L2Light handle = CreateByType(scene, source.object.Type(), light);
  if (handle == 0) return 0;
  const bool shadows = (source.object.info.flags & abi::kFlagNoShadows) == 0;
  LogRefusal(SetLightColor(scene, handle, light.color[0], light.color[1], light.color[2]), "SetLightColor");
  LogRefusal(SetLightShadowing(scene, handle, shadows ? 1 : 0), "SetLightShadowing");
  const FadeCoefficients fade = FadeOf(light.fadeDistance, light.fadePower);
  LogRefusal(SetLightCoeffs(scene, handle, fade.quadratic, fade.linear, fade.constant), "SetLightCoeffs");
  LogRefusal(SetLightVolumetric(scene, handle, light.volumetric ? 1 : 0), "SetLightVolumetric");
  LogRefusal(SetLightAttenuated(scene, handle, light.attenuated ? 1 : 0), "SetLightAttenuated");
  return handle;
}

}  // namespace lumetra::translate
