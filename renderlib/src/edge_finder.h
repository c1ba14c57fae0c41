// Visible edges: a pixel lies on an edge where the surface seen through its centre differs
// from the one seen through its right or lower neighbour's (another primitive or CSG part,
// surface against background, or normals more than 30 degrees apart). Edge pixels are shaded
// like Render's; the rest are background with alpha 0.
#pragma once

#include "compiled_scene.h"
#include "tile_renderer.h"

namespace lumetra2 {

TileShader edgeFinder(const CompiledScene& scene, uint32_t view);

}  // namespace lumetra2
