#include "render/render_callbacks.h"

#include <algorithm>
#include <cstdlib>

#include "render/render_job.h"

namespace lumetra::render {
namespace {

uint8_t ClampedByte(float scaled) {
  if (!(scaled > 0.0f)) return 0;  // negative, zero and NaN
  return scaled >= 255.0f ? 255 : static_cast<uint8_t>(scaled);
}

}  // namespace

uint8_t PixelByte(float value) { return ClampedByte(value * 255.0f); }
uint8_t LineByte(float value) { return ClampedByte(value * 256.0f); }

void PutPixel(RenderJob& job, int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  job.image.Put(x, y, red, green, blue, alpha);
  if (job.preview.on && job.preview.pixel) {
    job.preview.pixel(job.preview.view, x, y, red, green, blue, alpha);
  }
}

int32_t LUMETRA2_CALL AbortCallback(void* job) { return static_cast<RenderJob*>(job)->abort.load(); }

int32_t LUMETRA2_CALL PixelCallback(int32_t x, int32_t y, const float color[4], void* user) {
  RenderJob& job = *static_cast<RenderJob*>(user);
  if (job.image.Contains(x, y)) {
    // The pixel first, then its mark: a display that takes the mark paints the new pixel.
    PutPixel(job, x, y, PixelByte(color[0]), PixelByte(color[1]), PixelByte(color[2]), PixelByte(color[3]));
    job.image.MarkChanged({x, y, x + 1, y + 1});
    job.pixelsDone.fetch_add(1, std::memory_order_relaxed);
  }
  return job.abort.load();
}

int32_t LUMETRA2_CALL LineCallback(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const float color[4],
                                   void* user) {
  RenderJob& job = *static_cast<RenderJob*>(user);
  const uint8_t r = LineByte(color[0]), g = LineByte(color[1]), b = LineByte(color[2]),
                a = LineByte(color[3]);
  // The rectangle only steers repainting, so it keeps to the image.
  const PixelRect box{std::max(std::min(x0, x1), 0), std::max(std::min(y0, y1), 0),
                      std::min(std::max(x0, x1) + 1, job.image.Width()),
                      std::min(std::max(y0, y1) + 1, job.image.Height())};
  if (box.left < box.right && box.top < box.bottom) job.image.MarkChanged(box);

  // Bresenham along the major axis, both end points included.
  const int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0);
  const int64_t dy = -std::llabs(static_cast<int64_t>(y1) - y0);
  const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  int32_t x = x0, y = y0;
  for (;;) {
    if (job.image.Contains(x, y)) PutPixel(job, x, y, r, g, b, a);
    if (x == x1 && y == y1) break;
    const int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
  return job.abort.load();
}

}  // namespace lumetra::render
