#pragma once

#include "lumetra2.h"
#include "math/colour.h"

namespace texture {

using lmath::BlendColours;
using lmath::Colour;

// Writes the colour and what it lets through into the sample.
void ColourToSample(SurfaceSample& sample, const Colour& c);

}  // namespace texture
