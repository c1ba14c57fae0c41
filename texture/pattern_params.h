#pragma once

#include <cstdint>

namespace lumetra::texture {

// The parameters of the patterns that take any, as each pattern-based object holds them.
struct PatternParams {
  float agateTurbulence = 0.0f;
  double gradientX = 0.0;
  double gradientY = 0.0;
  double gradientZ = 0.0;
  std::int32_t mandelIterations = 0;
  float quiltControl0 = 0.0f;
  float quiltControl1 = 0.0f;
  std::int32_t spiralArms = 0;
  // Copied from the host with the others; no pattern reads it.
  std::int32_t extra = 0;
};

}  // namespace lumetra::texture
