#pragma once

#include "texture/pattern_id.h"
#include "texture/pattern_params.h"
#include "texture/shading_point.h"
#include "texture/texture_node.h"

namespace lumetra::texture {

// The pattern a map-bearing object looks its entries up by.
struct PatternChoice {
  PatternId id = PatternId::kAgate;
  PatternParams params;
};

// Agate is made with six octaves of turbulence; other patterns keep the node's setting.
void PrepareNoiseFor(PatternId id, NoiseParams& noise);

// The pattern value at the node's warped point; the warped point (and wood's moved point)
// is written back into the shading point.
double WarpedPatternValue(const TextureNode& node, const PatternChoice& pattern, ShadingPoint& point);

}  // namespace lumetra::texture
