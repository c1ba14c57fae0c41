#include "render/image_buffer.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace lumetra::render {

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// A picture that cannot be had gives no buffer, so that the display reports it instead of
// the window thread dying. Sizes are bounded before anything is asked of the allocator.
ImageBuffer::ImageBuffer(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || int64_t{width} * int64_t{height} > kMaxPixels) return;
  try {
    own_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  } catch (const std::bad_alloc&) {
    return;
  } catch (const std::length_error&) {
    return;
  }
  width_ = width;
  height_ = height;
  pixels_ = own_.data();
}

ImageBuffer::ImageBuffer(int32_t width, int32_t height, uint8_t* external)
    : width_(width), height_(height), pixels_(external) {}

ImageBuffer::ImageBuffer(ImageBuffer&& other) noexcept { *this = std::move(other); }

ImageBuffer& ImageBuffer::operator=(ImageBuffer&& other) noexcept {
  if (this == &other) return *this;
  const bool ownsMemory = other.pixels_ == other.own_.data() && !other.own_.empty();
  width_ = other.width_;
  height_ = other.height_;
  own_ = std::move(other.own_);
  pixels_ = ownsMemory ? own_.data() : other.pixels_;
  changed_ = other.TakeChanged();
  other.pixels_ = nullptr;
  other.width_ = other.height_ = 0;
  return *this;
}

void ImageBuffer::Fill(uint8_t red, uint8_t green, uint8_t blue) {
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  for (size_t i = 0; i < count; ++i) {
    uint8_t* pixel = pixels_ + i * 4;
    pixel[0] = blue;
    pixel[1] = green;
    pixel[2] = red;
    pixel[3] = 0;
  }
  MarkAllChanged();
}

void ImageBuffer::Put(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  uint8_t* pixel = At(x, y);
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  pixel[3] = alpha;
}

std::span<const uint8_t, 4> ImageBuffer::Pixel(int32_t x, int32_t y) const {
  return std::span<const uint8_t, 4>(At(x, y), 4);
}

std::span<const uint8_t> ImageBuffer::Bytes() const {
  return {pixels_, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4};
}

void ImageBuffer::MarkChanged(const PixelRect& rect) {
  std::lock_guard lock(changedMutex_);
  changed_ = Union(changed_, rect);
}

PixelRect ImageBuffer::TakeChanged() {
  std::lock_guard lock(changedMutex_);
  return std::exchange(changed_, PixelRect{});
}

PixelRect ImageBuffer::Changed() const {
  std::lock_guard lock(changedMutex_);
  return changed_;
}

}  // namespace lumetra::render
