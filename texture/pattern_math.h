#pragma once

#include <cmath>

namespace lumetra::texture {

// The pattern formulas use this value of 2 pi (it differs from the exact one in the eighth
// digit) and the exact values below.
inline constexpr double kPatternTwoPi = 6.283185207179587;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kInverseTwoPi = 0.15915494309189535;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kOneThird = 0.3333333333333333;

// u - floor(u) for u >= 0, u + floor(|u|) + 1 below.
inline double PatternFrac(double u) {
  return u >= 0.0 ? u - std::floor(u) : u + std::floor(std::fabs(u)) + 1.0;
}

}  // namespace lumetra::texture
