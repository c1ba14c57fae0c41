// Point, spot and area lights, placed like primitives.
#pragma once

#include "affine.h"

namespace lumetra::renderlib {

struct Light {
  enum class Kind { kPoint, kSpot, kArea };

  Kind kind = Kind::kPoint;
  Vec3 location;  // in the light's own space
  Vec3 color{1, 1, 1};
  bool casts_shadows = true;
  // Fading: intensity / (quadratic d^2 + linear d + constant).
  double quadratic = 0, linear = 0, constant = 1;
  // Spot lights: aim, beam edges in degrees, tightness.
  Vec3 spot_target{0, 0, 1};
  double tightness = 0, spot_radius = 30, spot_falloff = 45;
  // Area lights: a grid of columns x rows over x, z in 0..1.
  int columns = 4, rows = 4, adaptive = 0;
  double jitter = 0;
  bool volumetric = false, attenuated = false;
  Placement placement;
};

}  // namespace lumetra::renderlib
