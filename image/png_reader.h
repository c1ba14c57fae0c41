#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads a PNG with libpng: palette images without transparency stay palette images,
// grey stays one byte per pixel, every other kind becomes blue, green, red (and
// alpha) of 8 or 16 bits per channel. Rows top first.
ReadResult ReadPng(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
