#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/image_loader.h"

namespace lumetra::image::testing {

using Bytes = std::vector<uint8_t>;

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void AppendU16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendU32(Bytes& bytes, uint32_t value) {
  AppendU16(bytes, value & 0xFFFF);
  AppendU16(bytes, value >> 16);
}

// Loads `path`; the report's error is empty when it loaded.
inline LoadReport LoadFile(const std::filesystem::path& path, Image& image, const ImageLimits& limits = {}) {
  LoadReport report;
  LoadImage(image, path.string(), &report, limits);
  return report;
}

// The pixel at (x, y) counted from the top row, as blue, green, red, alpha.
inline std::array<uint8_t, 4> TopDownBgra(const Image& image, int32_t x, int32_t y) {
  return image.Bgra(x, image.StoredRowOfTopRow(y));
}

}  // namespace lumetra::image::testing
