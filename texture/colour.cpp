#include "texture/colour.h"

#include "texture/surface_sample.h"

namespace lumetra::texture {
void ColourToSample(SurfaceSample& sample, const Colour& c) {
  sample.color[0] = c.red;
  sample.color[1] = c.green;
  sample.color[2] = c.blue;
  if (c.filter == 0.0f && c.transmit == 0.0f) {
    sample.transmitted_color[0] = sample.transmitted_color[1] = sample.transmitted_color[2] = 0.0f;
    sample.transmission = 0.0f;
    sample.flags &= ~kSampleTransmission;
    sample.color[3] = 1.0f;
    return;
  }
  if (c.filter != 0.0f) {
    sample.transmitted_color[0] = c.red * c.filter + c.transmit;
    sample.transmitted_color[1] = c.green * c.filter + c.transmit;
    sample.transmitted_color[2] = c.blue * c.filter + c.transmit;
  } else {
    sample.transmitted_color[0] = sample.transmitted_color[1] = sample.transmitted_color[2] = c.transmit;
  }
  sample.flags |= kSampleTransmission;
  sample.transmission = 1.0f;
  const float passed = c.filter + c.transmit;
  sample.color[3] = passed > 1.0f ? 0.0f : 1.0f - passed;
}

}  // namespace lumetra::texture
