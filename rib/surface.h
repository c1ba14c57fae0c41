// The surface shaders RIB names, as user textures of the render library.
#pragma once

#include <lumetra2.h>

#include <string>

#include "math/vector3.h"

namespace lumetra::rib {

enum class ShaderKind { kDefault, kMatte, kPlastic, kMetal, kConstant };

struct Surface {
  ShaderKind kind = ShaderKind::kDefault;
  double ka = 1, kd = 1, ks = 0.5, roughness = 0.1;
  math::Vector3 specularColor{1, 1, 1};
  math::Vector3 color{1, 1, 1};    // Color (Cs)
  math::Vector3 opacity{1, 1, 1};  // Opacity (Os)
};

// The shader of `name` with its standard coefficients, or false for a name not known here.
bool SurfaceForName(const std::string& name, Surface& surface);

// A user texture shading as `surface` does; 0 when the library refuses it.
L2Texture CreateSurfaceTexture(L2Scene scene, const Surface& surface);

}  // namespace lumetra::rib
