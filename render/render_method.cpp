#include "render/render_method.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace lumetra::render {

const RenderMethodInfo& MethodInfo(RenderMethod method) {
  return kRenderMethods[static_cast<size_t>(method)];
}

std::optional<RenderMethod> MethodByName(std::string_view name) {
  auto lower = [](std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
  };
  const std::string wanted = lower(name);
  for (const RenderMethodInfo& info : kRenderMethods) {
    if (lower(info.name) == wanted) return info.method;
  }
  return std::nullopt;
}

uint32_t EffectiveShadingFlags(RenderMethod method, uint32_t flags) {
  if (flags != kUnsetShadingFlags) return flags;
  switch (method) {
    case RenderMethod::Raytracing:
      return 486;
    case RenderMethod::ZBuffer:
    case RenderMethod::Scanline:
      return 14;
    default:
      return 8;
  }
}

bool UsesRenderLibrary(RenderMethod method) {
  return method != RenderMethod::PovRay && method != RenderMethod::Rib;
}

}  // namespace lumetra::render
