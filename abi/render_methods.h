#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "abi/same_name.h"

namespace lumetra::abi {

// The render methods as the plug-in's settings number them. The plug-in keeps its
// settings in the registry under the host's base path (GetHostValue(kHostValueRegistryBase))
// followed by kSettingsKeyName; a host may choose the method of a run there, in the value
// kRenderMethodValue.
enum RenderMethodId : int32_t {
  kMethodWireframe = 0,
  kMethodHiddenLine = 1,
  kMethodZBuffer = 2,
  kMethodScanline = 3,
  kMethodRaytracing = 4,
  kMethodPovRay = 5,  // hands the scene to POV-Ray
  kMethodRib = 6,     // writes a RIB file for an outside renderer
};
inline constexpr std::array<const char*, 7> kRenderMethodNames{
    "Wireframe", "Hidden Line", "ZBuffer", "Scanline", "Raytracing", "POV-Ray", "RIB"};
inline constexpr const char* kSettingsKeyName = "Lumetra";
inline constexpr const char* kRenderMethodValue = "RenderMethod";

// The method named `name`, ignoring case ("hidden line"); nothing for another name.
inline std::optional<RenderMethodId> RenderMethodByName(std::string_view name) {
  for (size_t i = 0; i < kRenderMethodNames.size(); ++i) {
    if (SameName(name, kRenderMethodNames[i])) return static_cast<RenderMethodId>(i);
  }
  return std::nullopt;
}

// True for the methods the render library draws itself (not the outside renderers').
constexpr bool DrawnByRenderLibrary(RenderMethodId method) { return method < kMethodPovRay; }

}  // namespace lumetra::abi
