#include "image/height_samples.h"

#include <algorithm>
#include <cmath>

#include "platform/byte_reader.h"

namespace lumetra::image {
namespace {

constexpr int32_t kWideBytesPerPixel = 6;  // three 16-bit channels, a fourth for alpha

// Luma weights in thousandths, rounded.
template <typename T>
T Grey(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return static_cast<T>((red * 299 + green * 587 + blue * 114 + 500) / 1000);
}

std::uint16_t WideSample(const std::uint8_t* pixel) {
  const auto channel = [&](int i) { return platform::LoadU16(pixel + 2 * i, platform::ByteOrder::kLittle); };
  return Grey<std::uint16_t>(channel(2), channel(1), channel(0));  // stored blue, green, red
}

std::uint8_t NarrowSample(const Image& image, int32_t x, int32_t row) {
  if (image.BytesPerPixel() == 1) return image.Row(row)[x];
  const math::Colour colour = image.Colour(x, row);
  const auto byte = [](float value) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
  };
  return Grey<std::uint8_t>(byte(colour.red), byte(colour.green), byte(colour.blue));
}

}  // namespace

HeightSamples SamplesOfImage(const Image& image) {
  HeightSamples samples{image.Width(), image.Height(), image.BytesPerPixel() >= kWideBytesPerPixel, {}, {}};
  const auto count = static_cast<std::size_t>(samples.width) * static_cast<std::size_t>(samples.height);
  if (samples.wide) {
    samples.words.reserve(count);
  } else {
    samples.narrow.reserve(count);
  }
  for (int32_t y = 0; y < samples.height; ++y) {
    const int32_t row = image.StoredRowOfTopRow(y);
    for (int32_t x = 0; x < samples.width; ++x) {
      if (samples.wide) {
        samples.words.push_back(
            WideSample(image.Row(row) + static_cast<std::size_t>(x) * image.BytesPerPixel()));
      } else {
        samples.narrow.push_back(NarrowSample(image, x, row));
      }
    }
  }
  return samples;
}

}  // namespace lumetra::image
