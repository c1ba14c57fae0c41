#pragma once

#include <cstdio>

#include "image/image_writer.h"

// The encoders behind WriteImageFile; each writes a whole file to an open FILE and
// throws ImageWriteError on failure.
namespace lumetra::image {

void WriteBmp(std::FILE* file, const BgraPicture& picture);
void WritePng(std::FILE* file, const BgraPicture& picture);
void WritePpm(std::FILE* file, const BgraPicture& picture);
void WriteTga(std::FILE* file, const BgraPicture& picture, bool runLength);
void WriteTiff(std::FILE* file, const BgraPicture& picture);

// Stored row of image row `y` counted from the top.
inline const uint8_t* TopDownRow(const BgraPicture& picture, int32_t y) {
  return picture.bottomUpBgra.data() + static_cast<size_t>(picture.height - 1 - y) * picture.width * 4;
}

}  // namespace lumetra::image
