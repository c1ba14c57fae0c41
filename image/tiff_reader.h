#pragma once

#include <cstdio>

#include "image/image.h"
#include "image/image_reader.h"

namespace lumetra::image {

// Reads a TIFF with libtiff as blue, green, red, alpha bytes: plain 8-bit RGB(A) strips
// as stored (bottom-up ones with the layout flag), anything else through libtiff's RGBA
// raster, rows top first. Library warnings and errors are never printed.
ReadResult ReadTiff(std::FILE* file, Image& image, const ImageLimits& limits);

}  // namespace lumetra::image
