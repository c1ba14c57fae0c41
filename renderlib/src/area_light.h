// How much of an area light reaches a point: the share of its grid the point sees.
#pragma once

#include "shading.h"

namespace lumetra::renderlib {

// Each cell of the light's grid is sampled by a shadow ray to its centre, moved by up to
// jitter / 2 of a cell. The grid is sampled adaptively: its four corner cells first, and a
// block of cells is split at its middle cells while it is shallower than the light's
// adaptive depth or its corners see the light differently. Cells between a settled block's
// corners take the corners' light, interpolated; the result is the mean over all cells.
Vec3 areaLightPassed(ShadingContext& context, const CompiledLight& light, const Vec3& point);

}  // namespace lumetra::renderlib
