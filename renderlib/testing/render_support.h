// Rendering through the public entries into an image, and golden-image files (binary PPM).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "lumetra2.h"

namespace lumetra::renderlib::testing {

struct Image {
  int width = 0, height = 0;
  std::vector<float> rgba;
  std::vector<int> visits;  // how often each pixel was delivered

  Image(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, -1.0f), visits(size_t(w) * h, 0) {}
  const float* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

inline int32_t LUMETRA2_CALL storePixel(int32_t x, int32_t y, const float color[4], void* user_data) {
  auto* image = static_cast<Image*>(user_data);
  const size_t index = size_t(y) * image->width + x;
  for (int c = 0; c < 4; ++c) image->rgba[index * 4 + c] = color[c];
  ++image->visits[index];
  return 0;
}

inline Image renderImage(L2RenderEntry* entry, L2Scene scene, L2View view, int width, int height,
                         uint32_t flags) {
  Image image(width, height);
  EXPECT_EQ(SetViewResolution(scene, view, width, height), L2_OK);
  EXPECT_EQ(entry(scene, view, nullptr, flags, nullptr, storePixel, &image), L2_OK);
  return image;
}

inline std::vector<unsigned char> toBytes(const Image& image) {
  std::vector<unsigned char> bytes;
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    for (int c = 0; c < 3; ++c)
      bytes.push_back((unsigned char)std::lround(std::clamp(image.rgba[i + c], 0.0f, 1.0f) * 255));
  }
  return bytes;
}

inline void writePpm(const std::string& path, const Image& image) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << image.width << " " << image.height << "\n255\n";
  const std::vector<unsigned char> bytes = toBytes(image);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline bool readPpm(const std::string& path, int& width, int& height, std::vector<unsigned char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int max_value = 0;
  if (!(in >> magic >> width >> height >> max_value) || magic != "P6" || max_value != 255) return false;
  in.get();
  bytes.resize(size_t(width) * height * 3);
  return bool(in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())));
}

// Compares with tests/golden/<name>.ppm: at most 1% of the channels may differ by more than
// 2 levels of 255. LUMETRA_UPDATE_GOLDEN=1 rewrites the golden first.
inline void expectMatchesGolden(const std::string& name, const Image& image) {
  const std::string path = std::string(LUMETRA2_GOLDEN_DIR) + "/" + name + ".ppm";
  if (const char* update = std::getenv("LUMETRA_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    writePpm(path, image);
  }
  int width = 0, height = 0;
  std::vector<unsigned char> golden;
  ASSERT_TRUE(readPpm(path, width, height, golden)) << path;
  ASSERT_EQ(width, image.width);
  ASSERT_EQ(height, image.height);
  const std::vector<unsigned char> bytes = toBytes(image);
  size_t differing = 0;
  int worst = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int d = std::abs(int(bytes[i]) - int(golden[i]));
    worst = std::max(worst, d);
    if (d > 2) ++differing;
  }
  EXPECT_LE(differing, bytes.size() / 100) << name << ": worst channel difference " << worst;
  if (::testing::Test::HasFailure())
    writePpm(std::string(::testing::TempDir()) + name + "_actual.ppm", image);
}

}  // namespace lumetra::renderlib::testing
