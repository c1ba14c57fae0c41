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

namespace {

template <typename Number>
void CheckLoaded(const abi::SettingValue& value, Number& field) {
  field = static_cast<Number>(value.Loaded(static_cast<double>(field)));
}

}  // namespace

void RenderSettings::ApplyLoadChecks() {
  CheckLoaded(abi::kRenderMethodSetting, method);
  CheckLoaded(abi::kScanlineDepthSetting, scanlineDepth);
  CheckLoaded(abi::kVolumeStepSizeSetting, volumeStepSize);
  CheckLoaded(abi::kVolumeMinStepsSetting, volumeMinSteps);
  CheckLoaded(abi::kVolumeMaxStepsSetting, volumeMaxSteps);
}

}  // namespace lumetra::render
