#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "math/colour.h"

namespace lumetra::image {

// How the bytes of a pixel are to be read. The alpha kinds are the plain kinds plus 8.
enum PixelKind : int32_t {
  kPaletteIndex = 1,  // one index byte into the palette
  kSingleByte = 2,    // one grey byte
  kPackedColour = 3,  // 2 (5-5-5), 3, 4, 6 or 8 bytes, blue first
  kPaletteIndexAlpha = 9,
  kSingleByteAlpha = 10,
  kPackedColourAlpha = 11,
};

// Layout flag: rows are stored bottom-up, so the row index is mirrored on lookup.
constexpr int32_t kRowsBottomUp = 32;

// Limits that protect against hostile files; the defaults suit real use.
struct ImageLimits {
  int32_t maxSide = 1 << 16;        // width and height
  uint64_t maxPixels = 1ull << 28;  // width x height
};

// A decoded image: rows of packed pixels plus an optional palette of blue, green,
// red triples.
class Image {
 public:
  static constexpr int kPaletteEntryBytes = 3;

  // Allocates zeroed rows (and sets bits per pixel to match) after checking the size
  // against `limits`; throws ImgLoadException ("Image too large" or "Bad image size").
  void Allocate(int32_t width, int32_t height, int32_t bytesPerPixel, const ImageLimits& limits);
  // Sets the palette from blue, green, red triples.
  void SetPalette(std::vector<uint8_t> bgrEntries);
  // For formats whose fourth byte may be alpha or padding: a 4-byte image whose alpha
  // bytes are all 0 becomes opaque and loses the alpha kind; any other keeps it.
  void TreatEmptyAlphaAsOpaque();

  std::string fileName;
  int32_t bitsPerPixel = 32;
  int32_t layoutFlags = 0;
  int32_t pixelKind = kPackedColour;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t BytesPerPixel() const { return bytesPerPixel_; }
  int32_t PaletteSize() const { return static_cast<int32_t>(palette_.size() / kPaletteEntryBytes); }
  const uint8_t* PaletteEntry(int32_t index) const { return palette_.data() + index * kPaletteEntryBytes; }
  bool IsBottomUp() const { return (layoutFlags & kRowsBottomUp) != 0; }
  bool HasAlpha() const { return pixelKind > 8; }
  bool IsPalette() const { return pixelKind == kPaletteIndex || pixelKind == kPaletteIndexAlpha; }

  // Stored row `row` (the row table's order).
  uint8_t* Row(int32_t row) { return pixels_.data() + RowOffset(row); }
  const uint8_t* Row(int32_t row) const { return pixels_.data() + RowOffset(row); }
  // Stored row that shows image row `y` counted from the top.
  int32_t StoredRowOfTopRow(int32_t y) const { return IsBottomUp() ? height_ - 1 - y : y; }

  // The pixel at stored (x, row), its bytes combined most significant first.
  uint64_t Fetch(int32_t x, int32_t row) const;
  // The pixel's colour; palette kinds look the index up (an invalid index reads entry 0).
  // Images never set transmit.
  math::Colour Colour(int32_t x, int32_t row) const;
  // The pixel as blue, green, red, alpha bytes; alpha is 255 for kinds without alpha.
  std::array<uint8_t, 4> Bgra(int32_t x, int32_t row) const;

 private:
  size_t RowOffset(int32_t row) const { return static_cast<size_t>(row) * RowBytes(); }
  size_t RowBytes() const { return static_cast<size_t>(width_) * static_cast<size_t>(bytesPerPixel_); }
  // The bytes that describe the colour of (x, row): the palette entry or the pixel.
  const uint8_t* ColourBytes(int32_t x, int32_t row, int32_t& size) const;
  uint32_t ValidIndex(int32_t x, int32_t row) const;

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bytesPerPixel_ = 4;
  std::vector<uint8_t> palette_;
  std::vector<uint8_t> pixels_;
};

}  // namespace lumetra::image
