#pragma once

#include "lumetra2.h"

namespace texture {

// Red, green, blue, filter (coloured transparency) and transmit (plain transparency).
struct Colour {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float filter = 0.0f;
  float transmit = 0.0f;

  friend bool operator==(const Colour&, const Colour&) = default;
};

// Each component (1 - t) * a + t * b.
Colour BlendColours(const Colour& a, const Colour& b, float t);

// Writes the colour and what it lets through into the sample.
void ColourToSample(SurfaceSample& sample, const Colour& c);

}  // namespace texture
