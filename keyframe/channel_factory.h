#pragma once

#include <cstdint>
#include <memory>

#include "keyframe/anim_channel.h"

namespace lumetra::keyframe {

// The channel class for a host object type and, for texture nodes (type 11), its
// node kind. Null for texture nodes without animatable data; a plain
// TransformChannel for every type without a class of its own.
std::unique_ptr<AnimChannel> MakeChannel(uint32_t type, uint32_t subType);

}  // namespace lumetra::keyframe
