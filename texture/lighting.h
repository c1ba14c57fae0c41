#pragma once

#include <cstdint>

#include "lumetra2.h"

namespace lumetra::texture {

// How textures that blend whole shaded layers light each layer: the render library's
// ShadePoint with the scene, view and shading flags of the render. Without a function the
// layers stay unlit.
struct Lighting {
  L2Scene scene = 0;
  L2View view = 0;
  std::uint32_t shadingFlags = 0;
  L2ShadePointFunction shadePoint = nullptr;
};

}  // namespace lumetra::texture
