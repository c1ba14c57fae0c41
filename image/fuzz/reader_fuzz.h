#pragma once

// Shared body of the image reader fuzz targets: the bytes as a file, read with small
// limits so that no input spends its time filling a huge image.
#include <cstdint>
#include <cstdio>

#include "image/image.h"

namespace lumetra::image::fuzzing {

constexpr ImageLimits kFuzzLimits{4096, 1u << 22};

template <typename Read>
int ReadFromBytes(const uint8_t* data, size_t size, Read&& read) {
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  Image image;
  read(file, image);
  std::fclose(file);
  return 0;
}

}  // namespace lumetra::image::fuzzing
