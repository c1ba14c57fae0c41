// Renders a pixel region in tiles on every core and hands each pixel to the caller.
#pragma once

#include <functional>

#include "compiled_scene.h"
#include "lumetra2.h"

namespace lumetra::renderlib {

// Shades the pixels of one row of a tile, left to right: red, green, blue, alpha each.
using RowShader = std::function<void(int y, float* colors)>;
// Makes the row shader of one tile; its rows are asked for top to bottom.
using TileShader = std::function<RowShader(const L2Rect& tile)>;

// Where the shaded rows go: every pixel to pixel_callback, or, with line_callback instead,
// each run of neighbouring pixels of one colour and alpha above 0 as one line of a row.
struct PixelJob {
  L2Rect region;
  L2AbortCallback abort_callback;
  L2PixelCallback pixel_callback;
  void* user_data;
  L2LineCallback line_callback = nullptr;
};

// L2_OK, or L2_ABORTED once a callback said stop (within the tile each thread works on).
int32_t renderTiles(const PixelJob& job, const TileShader& shader);

}  // namespace lumetra::renderlib
