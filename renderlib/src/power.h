// Powers as shading and implicit shapes ask for them: mostly small whole exponents (a
// highlight's size, a superquadric's roundness), which a few multiplications answer where
// pow's general path takes a hundred instructions.
#pragma once

#include <cmath>

namespace lumetra::renderlib {

// base to the exponent, base >= 0. Whole exponents n from 1 to 64 multiply by squaring, whose
// roundings add up to at most n units in the last place (pow's result is within one); every other
// exponent goes to pow.
inline double power(double base, double exponent) {
  if (!(exponent >= 1 && exponent <= 64) || exponent != std::floor(exponent)) return std::pow(base, exponent);
  double result = 1, square = base;
  for (unsigned n = unsigned(exponent);; square *= square) {
    if (n & 1) result *= square;
    if ((n >>= 1) == 0) return result;
  }
}

}  // namespace lumetra::renderlib
