// A height field's samples as the renderer reads them from a picture.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace lumetra::image {

// The samples of a height field, one per pixel, the image's top row first: 8-bit fields
// keep bytes, fields of 16-bit images keep 16-bit words.
struct HeightSamples {
  int32_t width = 0;
  int32_t height = 0;
  bool wide = false;  // 16 bits per sample
  std::vector<std::uint8_t> narrow;
  std::vector<std::uint16_t> words;
};

// A pixel's height: the byte of a one-byte pixel (grey level or palette index), else
// the grey of its colour; 16-bit images give 16-bit heights.
HeightSamples SamplesOfImage(const Image& image);

}  // namespace lumetra::image
