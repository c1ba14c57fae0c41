#pragma once

#include <cstdint>

#include "image/image.h"

namespace lumetra::texture {

// The stored pixel (x, row) that image coordinates (u, v) fall on. Coordinates
// outside [0, 1] repeat the image, unless `once` is set: then the point is outside
// and the result is false. Rows of bottom-up images are mirrored so that v = 0 is
// always the top row. Non-finite coordinates are outside.
bool PixelPosition(const image::Image& image, float u, float v, bool once, int32_t& x, int32_t& y);

}  // namespace lumetra::texture
