// Cuts a planar polygon with holes into triangles.
#pragma once

#include <array>
#include <vector>

#include "math/vector3.h"

namespace lumetra::rib {

// `loops[0]` is the outline, the rest are holes in it; the points may lie on any plane
// in space and wind either way. Returns triangles as indices into the loops' points
// counted one after the other. Degenerate polygons give what triangles they can, never
// more than the point count less two for each loop.
std::vector<std::array<int, 3>> Triangulate(const std::vector<std::vector<math::Vector3>>& loops);

}  // namespace lumetra::rib
