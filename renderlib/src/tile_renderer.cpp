#include "tile_renderer.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <atomic>

namespace lumetra2 {
namespace {

constexpr int kTileSize = 16;

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
  tbb::parallel_for(0, columns * rows, [&](int tile) {
    if (aborted()) return;
    const int left = r.left + (tile % columns) * kTileSize;
    const int top = r.top + (tile / columns) * kTileSize;
    const L2Rect bounds{left, top, std::min(left + kTileSize, r.right), std::min(top + kTileSize, r.bottom)};
    const RowShader shade_row = shader(bounds);
    float colors[kTileSize * 4];
    for (int y = bounds.top; y < bounds.bottom; ++y) {
      if (aborted()) return;
      shade_row(y, colors);
      for (int x = bounds.left; x < bounds.right; ++x) {
        float* color = colors + 4 * (x - bounds.left);
        for (int c = 0; c < 4; ++c) color[c] = std::clamp(color[c], 0.0f, 1.0f);
        if (job.pixel_callback && job.pixel_callback(x, y, color, job.user_data) != 0) {
          stop = true;
          return;
        }
      }
    }
  });
  return stop ? L2_ABORTED : L2_OK;
}

}  // namespace lumetra2
