// Textures: a plain colour, a caller's evaluate callback, or a reference that shares one
// of them under a transform of its own.
#pragma once

#include <cstdint>

#include "affine.h"
#include "lumetra2.h"

namespace lumetra::renderlib {

struct Texture {
  enum class Kind { kMatte, kUser, kReference };

  Kind kind = Kind::kMatte;
  Vec3 color{1, 1, 1};
  L2TextureEvaluate evaluate = nullptr;
  L2ReleaseCallback release = nullptr;
  void* object = nullptr;
  uint32_t target = 0;   // references: the shared texture
  bool opaque = false;   // user textures: the caller promised that no light passes
  bool reads_uv = true;  // user textures: false when the caller promised they never read u, v
  Placement placement;
};

}  // namespace lumetra::renderlib
