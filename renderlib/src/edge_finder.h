// Edges drawn as lines. A pixel lies on an edge where what its centre's ray meets differs
// from what its right or lower neighbour's meets: another primitive or CSG part, surface
// against background, or normals more than 30 degrees apart. The visible-edge finder
// compares the nearest surfaces only; the wire finder compares every surface along the
// ray, front to back, and the triangles of meshes, so hidden edges and mesh wires show too.
// Edge pixels are shaded like Render's (the wire finder shades the first surface whose edge
// it is); the rest are background with alpha 0.
#pragma once

#include "compiled_scene.h"
#include "tile_renderer.h"

namespace lumetra::renderlib {

TileShader edgeFinder(const CompiledScene& scene, uint32_t view);
TileShader wireFinder(const CompiledScene& scene, uint32_t view);

}  // namespace lumetra::renderlib
