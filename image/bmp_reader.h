#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads an uncompressed, run-length (8 bits) or bit-field BMP of 8, 16, 24 or 32 bits
// per pixel (8 or 24 with the old 12-byte header). Rows stay in file order; bottom-up
// files carry the bottom-up layout flag.
ReadResult ReadBmp(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
