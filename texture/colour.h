#pragma once

#include "lumetra2.h"
#include "math/colour.h"

namespace lumetra::texture {

using math::BlendColours;
using math::Colour;

// Writes the colour and what it lets through into the sample.
void ColourToSample(SurfaceSample& sample, const Colour& c);

// Whether ColourToSample lets light through for this colour.
inline bool LetsLightThrough(const Colour& c) { return c.filter != 0.0f || c.transmit != 0.0f; }

}  // namespace lumetra::texture
