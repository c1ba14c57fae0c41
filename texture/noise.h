#pragma once

#include "math/vector3.h"

namespace lumetra::texture {

// Gradient noise on the integer lattice, roughly in [-1, 1]; unscaled.
double Noise(const math::Vector3& p);
// The lattice gradients themselves blended with the same s-curves.
math::Vector3 VectorNoise(const math::Vector3& p);
// clamp((Noise(p) + 0.3) * 1.5, 0, 1): the form most patterns use.
double ClampedNoise(const math::Vector3& p);

// Sum of clamped noise over octaves; 0 when octaves < 1.
double Turbulence(math::Vector3 p, double lambda, double omega, int octaves);
// Sum of vector noise: the first octave at weight 1, then octaves - 1 further ones.
math::Vector3 VectorTurbulence(math::Vector3 p, double lambda, double omega, int octaves);

}  // namespace lumetra::texture
