#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "abi/render_methods.h"

namespace render {

// The render methods, in the order the render options list them.
enum class RenderMethod : int32_t {
  Wireframe = iface::kMethodWireframe,
  HiddenLine = iface::kMethodHiddenLine,
  ZBuffer = iface::kMethodZBuffer,
  Scanline = iface::kMethodScanline,
  Raytracing = iface::kMethodRaytracing,
  PovRay = iface::kMethodPovRay,
  Rib = iface::kMethodRib,
};

constexpr int32_t kRenderMethodCount = static_cast<int32_t>(iface::kRenderMethodNames.size());

struct RenderMethodInfo {
  RenderMethod method;
  const char* name;
  uint32_t defaultShadingFlags;
};

inline constexpr std::array<RenderMethodInfo, kRenderMethodCount> kRenderMethods{{
    {RenderMethod::Wireframe, iface::kRenderMethodNames[iface::kMethodWireframe], 8},
    {RenderMethod::HiddenLine, iface::kRenderMethodNames[iface::kMethodHiddenLine], 8},
    {RenderMethod::ZBuffer, iface::kRenderMethodNames[iface::kMethodZBuffer], 14},
    {RenderMethod::Scanline, iface::kRenderMethodNames[iface::kMethodScanline], 14},
    {RenderMethod::Raytracing, iface::kRenderMethodNames[iface::kMethodRaytracing], 454},
    {RenderMethod::PovRay, iface::kRenderMethodNames[iface::kMethodPovRay], 454},
    {RenderMethod::Rib, iface::kRenderMethodNames[iface::kMethodRib], 454},
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

}  // namespace render
