#pragma once

#include "math/vector3.h"
#include "texture/noise_params.h"
#include "texture/pattern_id.h"
#include "texture/pattern_params.h"

namespace lumetra::texture {

// The raw value of pattern `id` at p, before shaping. Wood moves the point and writes the
// moved point back into p.
double RawPatternValue(PatternId id, math::Vector3& p, const NoiseParams& noise, const PatternParams& params);

// The raw value shaped by frequency, phase and wave shape: what the maps look up.
double PatternValue(PatternId id, math::Vector3& p, const NoiseParams& noise, const PatternParams& params);

}  // namespace lumetra::texture
