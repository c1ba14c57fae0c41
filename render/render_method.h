#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "abi/render_methods.h"

namespace lumetra::render {

// The render methods, in the order the render options list them.
enum class RenderMethod : int32_t {
  Wireframe = abi::kMethodWireframe,
  HiddenLine = abi::kMethodHiddenLine,
  ZBuffer = abi::kMethodZBuffer,
  Scanline = abi::kMethodScanline,
  Raytracing = abi::kMethodRaytracing,
  PovRay = abi::kMethodPovRay,
  Rib = abi::kMethodRib,
};

constexpr int32_t kRenderMethodCount = static_cast<int32_t>(abi::kRenderMethodNames.size());

struct RenderMethodInfo {
  RenderMethod method;
  const char* name;
  uint32_t defaultShadingFlags;
};

inline constexpr std::array<RenderMethodInfo, kRenderMethodCount> kRenderMethods{{
    {RenderMethod::Wireframe, abi::kRenderMethodNames[abi::kMethodWireframe], 8},
    {RenderMethod::HiddenLine, abi::kRenderMethodNames[abi::kMethodHiddenLine], 8},
    {RenderMethod::ZBuffer, abi::kRenderMethodNames[abi::kMethodZBuffer], 14},
    {RenderMethod::Scanline, abi::kRenderMethodNames[abi::kMethodScanline], 14},
    {RenderMethod::Raytracing, abi::kRenderMethodNames[abi::kMethodRaytracing], 454},
    {RenderMethod::PovRay, abi::kRenderMethodNames[abi::kMethodPovRay], 454},
    {RenderMethod::Rib, abi::kRenderMethodNames[abi::kMethodRib], 454},
}};

// A job's flags word before anyone set it.
constexpr uint32_t kUnsetShadingFlags = 0xFFFFFFFFu;

const RenderMethodInfo& MethodInfo(RenderMethod method);
// The method named `name` (case-insensitive), e.g. "Raytracing" or "hidden line".
std::optional<RenderMethod> MethodByName(std::string_view name);

// The flags a job renders with: its own word, or when that is still unset 486 for
// Raytracing (the tracing default with Phong instead of Gouraud), 14 for ZBuffer and
// Scanline and 8 for the others.
uint32_t EffectiveShadingFlags(RenderMethod method, uint32_t flags);

// True for the methods the render library draws itself.
bool UsesRenderLibrary(RenderMethod method);

}  // namespace lumetra::render
