#include "render/render_settings.h"

#include "render/settings_store.h"

namespace lumetra::render {

platform::RegResult RenderSettings::Load(const platform::Registry& registry, std::string_view basePath) {
  const platform::RegResult result = LoadSettings(*this, registry, basePath);
  ApplyLoadChecks();
  return result;
}

platform::RegResult RenderSettings::Save(const platform::Registry& registry,
                                         std::string_view basePath) const {
  return SaveSettings(*this, registry, basePath);
}

void RenderSettings::ApplyLoadChecks() {
  if (method < 0 || method >= kRenderMethodCount) {
    method = static_cast<int32_t>(RenderMethod::Raytracing);
  }
  if (scanlineDepth < 0) scanlineDepth = 1;
  if (!(volumeStepSize > 0.0f)) volumeStepSize = 1.0f;
  // The two step limits have different valid ranges and reset values; both are
  // what stored settings have always been checked against.
  if (volumeMinSteps < 2 || volumeMinSteps > 1684) volumeMinSteps = 3;
  if (volumeMaxSteps < 2 || volumeMaxSteps > 16384) volumeMaxSteps = 64;
}

}  // namespace lumetra::render
