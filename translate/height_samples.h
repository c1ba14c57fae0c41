#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "abi/scene_record.h"
#include "image/height_samples.h"

namespace lumetra::translate {

using image::HeightSamples;

// The samples of the height image a host object names: the host completes the path
// (kind 6); an image it cannot find gives nothing, silently; an image that cannot be
// used (unreadable, or smaller than 2 by 2) gives nothing and the message
// "Unsupported height format in [path]".
std::optional<HeightSamples> LoadHeightSamples(const abi::SceneRecord& host, const std::string& imageName);

}  // namespace lumetra::translate
