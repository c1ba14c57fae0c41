#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace lumetra::image {

// The image as blue, green, red, alpha bytes with the bottom row stored first, the
// layout of a render job's image buffer. Alpha is the image's own where it has one and
// 255 otherwise.
std::vector<uint8_t> ToBottomUpBgra(const Image& image);

}  // namespace lumetra::image
