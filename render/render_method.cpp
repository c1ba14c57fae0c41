#include "render/render_method.h"

namespace lumetra::render {

const RenderMethodInfo& MethodInfo(RenderMethod method) {
  return kRenderMethods[static_cast<size_t>(method)];
}

std::optional<RenderMethod> MethodByName(std::string_view name) {
  const auto method = abi::RenderMethodByName(name);
  if (!method) return std::nullopt;
  return static_cast<RenderMethod>(*method);
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
  return abi::DrawnByRenderLibrary(static_cast<abi::RenderMethodId>(method));
}

}  // namespace lumetra::render
