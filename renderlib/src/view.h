// A camera and the pixel grid it renders.
#pragma once

#include "vec3.h"

namespace lumetra::renderlib {

struct View {
  int width = 320, height = 240;
  double angle = 45;  // vertical field of view, degrees
  double aspect = 4.0 / 3.0;
  Vec3 location{0, 0, -10};
  Vec3 interest{0, 0, 0};
  Vec3 up{0, 1, 0};
  double volume_step = 0.1;
  int volume_min_steps = 1, volume_max_steps = 1000;
  int scanline_depth = 1;
};

}  // namespace lumetra::renderlib
