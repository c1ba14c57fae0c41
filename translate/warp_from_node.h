#pragma once

#include <memory>

#include "abi/texture_params.h"
#include "texture/warp.h"

namespace lumetra::translate {

// The warp a [warp] node describes: sub-kind 0 black hole, 1 repeat, 2 turbulence; null for
// any other sub-kind.
std::unique_ptr<texture::Warp> WarpFromNode(const abi::WarpParams& params);

}  // namespace lumetra::translate
