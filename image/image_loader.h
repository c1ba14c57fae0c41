#pragma once

#include <cstdio>
#include <string>

#include "image/image.h"

namespace lumetra::image {

// What LoadImage found out about a file.
struct LoadReport {
  std::string format;  // "PNG", "GIF", "BMP", "JPEG", "TGA" or "TIFF" when loaded
  std::string error;   // why no reader took the file, naming the file
};

// Opens `fileName` for binary reading and tries the readers in turn: PNG, GIF, BMP,
// JPEG, TGA, then TIFF. Returns 1 when one of them loaded the image (its file name is
// set), else 0; `report` (optional) says which reader took it or why none did.
int LoadImage(Image& image, const std::string& fileName, LoadReport* report = nullptr,
              const ImageLimits& limits = {});

// The same on a file opened by the caller (left open).
int LoadImageFromFile(Image& image, std::FILE* file, const std::string& fileName, LoadReport* report,
                      const ImageLimits& limits);

}  // namespace lumetra::image
