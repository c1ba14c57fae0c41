#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads a JPEG with libjpeg: grey images as one byte per pixel, colour images as blue,
// green, red. Rows top first. Library errors raise "JPEG Load Error" and are caught here.
ReadResult ReadJpeg(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
