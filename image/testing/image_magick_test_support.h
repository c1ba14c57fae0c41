#pragma once

// For interoperability tests: test pictures, and ImageMagick's convert run on files.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumetra::image::testing {

inline bool HaveImageMagick() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

// Runs `convert ARGUMENTS` quietly; true when it succeeded.
inline bool RunConvert(const std::string& arguments) {
  return std::system(("convert " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// A test picture of few colours (any palette format holds it exactly), as red, green,
// blue, alpha bytes, top row first; alpha is never 0 so that no colour can be dropped.
inline std::vector<uint8_t> TestPictureRgba(int width, int height, bool withAlpha) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgba.push_back(static_cast<uint8_t>((x / 4) * 25));
      rgba.push_back(static_cast<uint8_t>((y / 4) * 40));
      rgba.push_back(static_cast<uint8_t>(((x + y) % 4) * 60 + 15));
      rgba.push_back(withAlpha ? static_cast<uint8_t>(1 + (x * y * 3) % 255) : 255);
    }
  }
  return rgba;
}

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// What convert reads in `file` (after `options`), as 8-bit red, green, blue, alpha, top
// row first; empty when it failed.
inline std::vector<uint8_t> ImageMagickRgba(const std::filesystem::path& file,
                                            const std::string& options = "") {
  const std::filesystem::path raw = file.string() + ".rgba";
  if (!RunConvert("'" + file.string() + "' " + options + " -depth 8 'rgba:" + raw.string() + "'")) return {};
  return ReadAll(raw);
}

}  // namespace lumetra::image::testing
