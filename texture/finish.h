#pragma once

#include "lumetra2.h"
#include "texture/colour.h"

namespace lumetra::texture {

// The lighting coefficients of a standard texture, copied into the sample as they are.
struct Finish {
  float ambient = 0.1f;
  float diffuse = 0.6f;
  float emission = 0.0f;
  float phong = 0.0f;
  float phongSize = 1.0f;
  float specular = 0.0f;
  float specularExponent = 1.0f;
  float metallic = 0.0f;
  float transmission = 0.0f;
  Colour ambientColour{};
  bool hasAmbientColour = false;
  // A finish mirrors only what a reflection colour of its own asks for: the library reads
  // the colour as the share of reflected light, so a white default would make every
  // finished surface a perfect mirror.
  Colour reflectionColour{1.0f, 1.0f, 1.0f, 0.0f, 0.0f};
  bool hasReflectionColour = false;

  void ApplyTo(SurfaceSample& sample) const;
};

// What a texture without a finish puts into the sample.
void ApplyDefaultFinish(SurfaceSample& sample);

}  // namespace lumetra::texture
