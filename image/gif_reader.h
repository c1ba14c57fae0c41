#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads the first image of a GIF file with the project's own LZW decoder: palette
// kind, one index byte per pixel, rows top first (interlaced rows put in place).
ReadResult ReadGif(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
