#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "render/render_method.h"

namespace lumetra::render {

// The render settings kept in the registry between runs.
struct RenderSettings {
  static constexpr uint32_t kRibRendererBufferBytes = 128;

  int32_t method = static_cast<int32_t>(RenderMethod::Raytracing);
  std::array<uint32_t, kRenderMethodCount> shadingFlags{8, 8, 14, 14, 454, 454, 454};
  int32_t scanlineDepth = 0;  // transparency depth of the Scanline method
  float volumeStepSize = 1.0f;
  int32_t volumeMinSteps = 3;
  int32_t volumeMaxSteps = 50;
  std::string ribRenderer = "rendrib.exe";

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
    fields.Int(abi::kRenderMethodValue, s.method);
    fields.Flags("ShadingFlags", s.shadingFlags);
    fields.Int("ScanlineTransmissionDepth", s.scanlineDepth);
    fields.Float("VolumeStepSize", s.volumeStepSize);
    fields.Int("VolumeMinSteps", s.volumeMinSteps);
    fields.Int("VolumeMaxSteps", s.volumeMaxSteps);
    fields.String("RIBRenderer", s.ribRenderer, kRibRendererBufferBytes);
  }
};

}  // namespace lumetra::render
