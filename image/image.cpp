#include "image/image.h"

#include "image/image_load_exception.h"
#include "platform/byte_reader.h"

namespace lumetra::image {
namespace {

constexpr float kByteScale = 0.003921569f;    // 1/255
constexpr float kWordScale = 1.5259022e-05f;  // 1/65535

bool IsSupportedPixelSize(int32_t bytes) {
  return bytes == 1 || bytes == 2 || bytes == 3 || bytes == 4 || bytes == 6 || bytes == 8;
}

uint32_t Word(const uint8_t* bytes, int index) {
  return platform::LoadU16(bytes + 2 * index, platform::ByteOrder::kLittle);
}

uint8_t WordToByte(uint32_t word) { return static_cast<uint8_t>((word * 255 + 32767) / 65535); }

uint8_t Field555(uint32_t value, int shift) { return static_cast<uint8_t>(((value >> shift) & 31) << 3); }

}  // namespace

void Image::Allocate(int32_t width, int32_t height, int32_t bytesPerPixel, const ImageLimits& limits) {
  if (width <= 0 || height <= 0 || !IsSupportedPixelSize(bytesPerPixel)) {
    throw ImgLoadException("Bad image size");
  }
  if (width > limits.maxSide || height > limits.maxSide ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > limits.maxPixels) {
    throw ImgLoadException("Image too large");
  }
  width_ = width;
  height_ = height;
  bytesPerPixel_ = bytesPerPixel;
  bitsPerPixel = bytesPerPixel * 8;
  try {
    pixels_.assign(RowBytes() * static_cast<size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    throw ImgLoadException("Out of memory");
  }
}

void Image::SetPalette(std::vector<uint8_t> bgrEntries) { palette_ = std::move(bgrEntries); }

void Image::TreatEmptyAlphaAsOpaque() {
  if (bytesPerPixel_ != 4) return;
  for (size_t i = 3; i < pixels_.size(); i += 4) {
    if (pixels_[i] != 0) {
      pixelKind = kPackedColourAlpha;
      return;
    }
  }
  for (size_t i = 3; i < pixels_.size(); i += 4) pixels_[i] = 255;
  pixelKind = kPackedColour;
}

uint64_t Image::Fetch(int32_t x, int32_t row) const {
  const uint8_t* pixel = Row(row) + static_cast<size_t>(x) * bytesPerPixel_;
  uint64_t value = 0;
  for (int32_t i = 0; i < bytesPerPixel_; ++i) value = value << 8 | pixel[i];
  return value;
}

uint32_t Image::ValidIndex(int32_t x, int32_t row) const {
  const uint64_t index = Fetch(x, row);
  return index < static_cast<uint64_t>(PaletteSize()) ? static_cast<uint32_t>(index) : 0;
}

const uint8_t* Image::ColourBytes(int32_t x, int32_t row, int32_t& size) const {
  if (IsPalette() && PaletteSize() > 0) {
    size = kPaletteEntryBytes;
    return PaletteEntry(static_cast<int32_t>(ValidIndex(x, row)));
  }
  size = bytesPerPixel_;
  return Row(row) + static_cast<size_t>(x) * bytesPerPixel_;
}

math::Colour Image::Colour(int32_t x, int32_t row) const {
  int32_t size = 0;
  const uint8_t* bytes = ColourBytes(x, row, size);
  const bool alpha = HasAlpha();
  math::Colour colour;
  switch (size) {
    case 1:
      colour.red = colour.green = colour.blue = bytes[0] * kByteScale;
      break;
    case 2: {
      const uint32_t value = Word(bytes, 0);
      colour.blue = Field555(value, 0) * kByteScale;
      colour.green = Field555(value, 5) * kByteScale;
      colour.red = Field555(value, 10) * kByteScale;
      if (alpha && (value & 0x8000) != 0) colour.filter = 1.0f;
      break;
    }
    case 6:
    case 8:
      colour.blue = Word(bytes, 0) * kWordScale;
      colour.green = Word(bytes, 1) * kWordScale;
      colour.red = Word(bytes, 2) * kWordScale;
      if (alpha && size == 8) colour.filter = 1.0f - Word(bytes, 3) * kWordScale;
      break;
    default:  // 3 or 4 bytes
      colour.blue = bytes[0] * kByteScale;
      colour.green = bytes[1] * kByteScale;
      colour.red = bytes[2] * kByteScale;
      if (alpha && size == 4) colour.filter = 1.0f - bytes[3] * kByteScale;
      break;
  }
  return colour;
}

std::array<uint8_t, 4> Image::Bgra(int32_t x, int32_t row) const {
  int32_t size = 0;
  const uint8_t* bytes = ColourBytes(x, row, size);
  const bool alpha = HasAlpha();
  switch (size) {
    case 1:
      return {bytes[0], bytes[0], bytes[0], 255};
    case 2: {
      const uint32_t value = Word(bytes, 0);
      const uint8_t a = alpha && (value & 0x8000) != 0 ? 0 : 255;
      return {Field555(value, 0), Field555(value, 5), Field555(value, 10), a};
    }
    case 6:
    case 8:
      return {WordToByte(Word(bytes, 0)), WordToByte(Word(bytes, 1)), WordToByte(Word(bytes, 2)),
              alpha && size == 8 ? WordToByte(Word(bytes, 3)) : uint8_t{255}};
    default:
      return {bytes[0], bytes[1], bytes[2], alpha && size == 4 ? bytes[3] : uint8_t{255}};
  }
}

}  // namespace lumetra::image
