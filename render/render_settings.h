#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "abi/settings_values.h"
#include "platform/registry.h"
#include "render/render_method.h"

namespace lumetra::render {

// The render settings kept in the registry between runs.
struct RenderSettings {
  static constexpr uint32_t kRibRendererBufferBytes = 128;

  int32_t method = static_cast<int32_t>(abi::kRenderMethodSetting.defaultValue);
  std::array<uint32_t, kRenderMethodCount> shadingFlags = abi::kDefaultShadingFlags;
  int32_t scanlineDepth = static_cast<int32_t>(abi::kScanlineDepthSetting.defaultValue);  // of Scanline
  float volumeStepSize = static_cast<float>(abi::kVolumeStepSizeSetting.defaultValue);
  int32_t volumeMinSteps = static_cast<int32_t>(abi::kVolumeMinStepsSetting.defaultValue);
  int32_t volumeMaxSteps = static_cast<int32_t>(abi::kVolumeMaxStepsSetting.defaultValue);
  std::string ribRenderer = abi::kDefaultRibRenderer;

  RenderMethod Method() const { return static_cast<RenderMethod>(method); }
  uint32_t FlagsOf(RenderMethod m) const { return shadingFlags[static_cast<size_t>(m)]; }

  // Reads the settings key under `basePath`, repairing missing values and resetting
  // values outside their ranges; a missing key is created with every default.
  platform::RegResult Load(const platform::Registry& registry, std::string_view basePath);
  platform::RegResult Save(const platform::Registry& registry, std::string_view basePath) const;

  // Values outside their ranges become their safe settings.
  void ApplyLoadChecks();

  template <class Self, class Fields>
  static void Visit(Self& s, Fields& fields) {
    fields.Int(abi::kRenderMethodSetting.name, s.method);
    fields.Flags(abi::kShadingFlagsSetting.name, s.shadingFlags);
    fields.Int(abi::kScanlineDepthSetting.name, s.scanlineDepth);
    fields.Float(abi::kVolumeStepSizeSetting.name, s.volumeStepSize);
    fields.Int(abi::kVolumeMinStepsSetting.name, s.volumeMinSteps);
    fields.Int(abi::kVolumeMaxStepsSetting.name, s.volumeMaxSteps);
    fields.String(abi::kRibRendererSetting.name, s.ribRenderer, kRibRendererBufferBytes);
  }
};

}  // namespace lumetra::render
