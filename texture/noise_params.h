#pragma once

#include <cstdint>

namespace lumetra::texture {

// How a pattern-based object turns its raw pattern value into the one it looks up, and
// the turbulence settings of the patterns that use it.
enum class WaveShape : std::int32_t {
  kRamp = 0,
  kTriangle = 1,
  kSine = 2,
  kScallop = 3,
  kCubic = 4,
  kPower = 5
};

struct NoiseParams {
  bool turbulenceOn = false;
  double turbulenceX = 0.0;
  double turbulenceY = 0.0;
  double turbulenceZ = 0.0;
  double omega = 0.5;
  double lambda = 2.0;
  double frequency = 1.0;
  double phase = 0.0;
  double exponent = 1.0;
  std::int32_t octaves = 1;
  std::int32_t waveShape = static_cast<std::int32_t>(WaveShape::kRamp);
};

}  // namespace lumetra::texture
