#include "rib/picture.h"

#include <algorithm>
#include <cmath>

namespace lumetra::rib {

std::vector<uint8_t> Picture::BottomUpBgra() const {
  std::vector<uint8_t> bytes(static_cast<std::size_t>(width) * height * 4);
  auto toByte = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float* in = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
      uint8_t* out = &bytes[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
      out[0] = toByte(in[2]);
      out[1] = toByte(in[1]);
      out[2] = toByte(in[0]);
      out[3] = keepAlpha ? toByte(in[3]) : 255;
    }
  return bytes;
}

image::ImageFileFormat FormatForDisplay(const std::string& name, const std::string& type) {
  if (type == "tiff") return image::ImageFileFormat::kTiff;
  if (type == "png") return image::ImageFileFormat::kPng;
  return image::FormatForFileName(name, false).value_or(image::ImageFileFormat::kTiff);
}

void WritePictures(const std::vector<Picture>& pictures) {
  for (const Picture& picture : pictures) {
    const std::vector<uint8_t> bytes = picture.BottomUpBgra();
    image::WriteImageFile({bytes, picture.width, picture.height}, picture.format, picture.path);
  }
}

}  // namespace lumetra::rib
