#include "povbridge/pov_picture.h"

#include <algorithm>

#include "image/image.h"
#include "image/image_loader.h"

namespace lumetra::povbridge {

PovPictureCopy CopyPovPicture(const std::string& fileName, std::span<uint8_t> pixels, int32_t width,
                              int32_t height) {
  if (width <= 0 || height <= 0) {
    return {"Bad render window size " + std::to_string(width) + " x " + std::to_string(height), 0, 0};
  }
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  if (pixels.size() / rowBytes < static_cast<size_t>(height)) {
    return {"The display block has no room for " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels",
            0, 0};
  }
  image::Image picture;
  image::LoadReport report;
  if (image::LoadImage(picture, fileName, &report) == 0) return {report.error, 0, 0};

  const int32_t copiedWidth = std::min(width, picture.Width());
  const int32_t copiedHeight = std::min(height, picture.Height());
  for (int32_t y = 0; y < copiedHeight; ++y) {
    uint8_t* target = pixels.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
    const int32_t row = picture.StoredRowOfTopRow(y);
    for (int32_t x = 0; x < copiedWidth; ++x, target += 4) {
      const auto bgra = picture.Bgra(x, row);
      std::copy(bgra.begin(), bgra.end(), target);
    }
  }
  return {{}, copiedWidth, copiedHeight};
}

}  // namespace lumetra::povbridge
