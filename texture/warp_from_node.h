#pragma once

#include <memory>

#include "abi/texture_params.h"
#include "texture/warp.h"

namespace texture {

// The warp a [warp] node describes: sub-kind 0 black hole, 1 repeat, 2 turbulence; null for
// any other sub-kind.
std::unique_ptr<Warp> WarpFromNode(const iface::WarpParams& params);

}  // namespace texture
