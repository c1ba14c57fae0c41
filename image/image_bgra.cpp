#include "image/image_bgra.h"

#include <algorithm>

namespace lumetra::image {

std::vector<uint8_t> ToBottomUpBgra(const Image& image) {
  const auto width = static_cast<size_t>(image.Width());
  const int32_t height = image.Height();
  std::vector<uint8_t> pixels(width * static_cast<size_t>(height) * 4);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* target = &pixels[static_cast<size_t>(height - 1 - y) * width * 4];
    const int32_t row = image.StoredRowOfTopRow(y);
    for (int32_t x = 0; x < image.Width(); ++x, target += 4) {
      const auto bgra = image.Bgra(x, row);
      std::copy(bgra.begin(), bgra.end(), target);
    }
  }
  return pixels;
}

}  // namespace lumetra::image
