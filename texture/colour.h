#pragma once

#include "lumetra2.h"
#include "math/colour.h"

namespace lumetra::texture {

using math::BlendColours;
using math::Colour;

// Writes the colour and what it lets through into the sample.
void ColourToSample(SurfaceSample& sample, const Colour& c);

}  // namespace lumetra::texture
