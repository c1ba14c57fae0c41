#include "tile_renderer.h"

#include <algorithm>
#include <atomic>

#include "tile_threads.h"

namespace lumetra::renderlib {
namespace {

// The anti-aliasing traces the samples on an edge two tiles share once for each tile: 32 pixels
// a side trace 6 % more corners than the picture has, where 16 traced 13 % more, and a tile's
// rays still stay close together in the scene.
constexpr int kTileSize = 32;

bool sameColor(const float* a, const float* b) { return std::equal(a, a + 4, b); }

// Hands one shaded row to the job's callback; false when it said stop.
bool deliverRow(const PixelJob& job, int left, int right, int y, float* colors) {
  for (int x = left; x < right; ++x) {
    float* color = colors + 4 * (x - left);
    for (int c = 0; c < 4; ++c) color[c] = std::clamp(color[c], 0.0f, 1.0f);
  }
  if (!job.line_callback) {
    for (int x = left; x < right; ++x) {
      if (job.pixel_callback(x, y, colors + 4 * (x - left), job.user_data) != 0) return false;
    }
    return true;
  }
  for (int x = left; x < right;) {
    const float* color = colors + 4 * (x - left);
    int end = x + 1;
    while (end < right && sameColor(color, colors + 4 * (end - left))) ++end;
    if (color[3] > 0 && job.line_callback(x, y, end - 1, y, color, job.user_data) != 0) return false;
    x = end;
  }
  return true;
}

}  // namespace

int32_t renderTiles(const PixelJob& job, const TileShader& shader) {
  const L2Rect& r = job.region;
  const int columns = (r.right - r.left + kTileSize - 1) / kTileSize;
  const int rows = (r.bottom - r.top + kTileSize - 1) / kTileSize;
  std::atomic<bool> stop{false};
  auto aborted = [&] {
    if (stop.load(std::memory_order_relaxed)) return true;
    if (job.abort_callback && job.abort_callback(job.user_data) != 0) stop = true;
    return stop.load(std::memory_order_relaxed);
  };
  forEachIndex(columns * rows, renderThreadCount(), [&](int tile) {
    if (aborted()) return;
    const int left = r.left + (tile % columns) * kTileSize;
    const int top = r.top + (tile / columns) * kTileSize;
    const L2Rect bounds{left, top, std::min(left + kTileSize, r.right), std::min(top + kTileSize, r.bottom)};
    const RowShader shade_row = shader(bounds);
    float colors[kTileSize * 4];
    for (int y = bounds.top; y < bounds.bottom; ++y) {
      if (aborted()) return;
      shade_row(y, colors);
      if (!deliverRow(job, bounds.left, bounds.right, y, colors)) {
        stop = true;
        return;
      }
    }
  });
  return stop ? L2_ABORTED : L2_OK;
}

}  // namespace lumetra::renderlib
