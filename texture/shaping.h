#pragma once

#include "texture/noise_params.h"

namespace lumetra::texture {

// Frequency, phase and wave shape applied to a raw pattern value. Frequency 0 gives 0.
double ShapePatternValue(double raw, const NoiseParams& noise);

}  // namespace lumetra::texture
