#include "texture/finish.h"

#include "texture/surface_sample.h"

namespace lumetra::texture {

void Finish::ApplyTo(SurfaceSample& sample) const {
  sample.ambient = ambient;
  sample.diffuse = diffuse;
  sample.emission = emission;
  sample.phong = phong;
  sample.phong_size = phongSize;
  sample.specular = specular;
  sample.specular_exponent = specularExponent;
  sample.metallic = metallic;
  // A pigment that lets light through has already set the amount.
  if (sample.transmission == 0.0f) sample.transmission = transmission;
  if (hasAmbientColour) {
    sample.ambient_color[0] = ambientColour.red;
    sample.ambient_color[1] = ambientColour.green;
    sample.ambient_color[2] = ambientColour.blue;
    sample.flags |= kSampleAmbientColour;
  }
  if (hasReflectionColour) {
    sample.reflection_color[0] = reflectionColour.red;
    sample.reflection_color[1] = reflectionColour.green;
    sample.reflection_color[2] = reflectionColour.blue;
    sample.flags |= kSampleReflection;
  }
}

void ApplyDefaultFinish(SurfaceSample& sample) {
  sample.highlight_color[0] = sample.highlight_color[1] = sample.highlight_color[2] = 1.0f;
  sample.brilliance = 1.0f;
  sample.ambient = 0.1f;
  sample.diffuse = 0.6f;
  sample.emission = 0.0f;
  sample.phong = 0.1f;
  sample.phong_size = 2.0f;
  sample.specular = 0.0f;
  sample.specular_exponent = 2.0f;
  sample.metallic = 0.0f;
}

}  // namespace lumetra::texture
