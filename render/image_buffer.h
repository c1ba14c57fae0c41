#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace lumetra::render {

// A rectangle of pixels, right and bottom exclusive; left -1 means empty.
struct PixelRect {
  int32_t left = -1;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Empty() const { return left == -1; }
  bool operator==(const PixelRect&) const = default;
};

// A job's picture: 32 bits a pixel as blue, green, red, alpha, rows stored bottom-up
// (the first stored row is the bottom image row), no row padding. The memory is its
// own, or a view the buffer does not own (the display block shared with POV-Ray).
// The renderer writes pixels from many threads; the changed rectangle they grow is
// merged under a small lock and taken by the display.
class ImageBuffer {
 public:
  // The largest picture a buffer of its own is made for: 2^28 pixels (1 GiB, 16384 a side).
  static constexpr int64_t kMaxPixels = int64_t{1} << 28;

  ImageBuffer() = default;
  // A size that is not positive, above kMaxPixels, or memory that cannot be had gives no
  // buffer (Valid() is false).
  ImageBuffer(int32_t width, int32_t height);
  // Uses `external` (at least width * height * 4 bytes) instead of memory of its own.
  ImageBuffer(int32_t width, int32_t height, uint8_t* external);
  ImageBuffer(ImageBuffer&& other) noexcept;
  ImageBuffer& operator=(ImageBuffer&& other) noexcept;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Valid() const { return pixels_ != nullptr; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Every pixel red, green, blue with alpha 0; the whole image becomes changed.
  void Fill(uint8_t red, uint8_t green, uint8_t blue);
  // (x, y) from the top left; the caller checks Contains().
  void Put(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
  // Blue, green, red, alpha of image pixel (x, y) from the top left.
  std::span<const uint8_t, 4> Pixel(int32_t x, int32_t y) const;
  // The stored rows, bottom row first.
  std::span<const uint8_t> Bytes() const;

  void MarkChanged(const PixelRect& rect);
  void MarkAllChanged() { MarkChanged({0, 0, width_, height_}); }
  // The changed rectangle so far, which becomes empty.
  PixelRect TakeChanged();
  PixelRect Changed() const;

 private:
  uint8_t* At(int32_t x, int32_t y) const {
    return pixels_ +
           (static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 4;
  }

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> own_;
  uint8_t* pixels_ = nullptr;
  mutable std::mutex changedMutex_;
  PixelRect changed_;
};

// The union of two rectangles; an empty one adds nothing.
PixelRect Union(const PixelRect& a, const PixelRect& b);

}  // namespace lumetra::render
