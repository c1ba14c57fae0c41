#pragma once

#include <cmath>

namespace lumetra::texture {

// The pattern formulas use this value of 2 pi (it differs from the exact one in the eighth
// digit) and otherwise the exact values of std::numbers.
inline constexpr double kPatternTwoPi = 6.283185207179587;
inline constexpr double kOneThird = 0.3333333333333333;

// u - floor(u) for u >= 0, u + floor(|u|) + 1 below.
inline double PatternFrac(double u) {
  return u >= 0.0 ? u - std::floor(u) : u + std::floor(std::fabs(u)) + 1.0;
}

}  // namespace lumetra::texture
