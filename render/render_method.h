#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumetra::render {

// The render methods, in the order the render options list them.
enum class RenderMethod : int32_t {
  Wireframe = 0,
  HiddenLine = 1,
  ZBuffer = 2,
  Scanline = 3,
  Raytracing = 4,
  PovRay = 5,
  Rib = 6,
};

constexpr int32_t kRenderMethodCount = 7;

struct RenderMethodInfo {
  RenderMethod method;
  const char* name;
  uint32_t defaultShadingFlags;
};

inline constexpr std::array<RenderMethodInfo, kRenderMethodCount> kRenderMethods{{
    {RenderMethod::Wireframe, "Wireframe", 8},
    {RenderMethod::HiddenLine, "Hidden Line", 8},
    {RenderMethod::ZBuffer, "ZBuffer", 14},
    {RenderMethod::Scanline, "Scanline", 14},
    {RenderMethod::Raytracing, "Raytracing", 454},
    {RenderMethod::PovRay, "POV-Ray", 454},
    {RenderMethod::Rib, "RIB", 454},
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
