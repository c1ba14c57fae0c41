#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads a TGA of image type 1, 2, 3 (colour-mapped, true colour, grey) or 9, 10, 11
// (their run-length forms) with 8, 16, 24 or 32 bits per pixel. Rows stay in file
// order: an image whose origin is at the bottom carries the bottom-up layout flag.
ReadResult ReadTga(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
