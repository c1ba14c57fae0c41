// Real roots of a x^2 + b x + c in ascending order, computed without cancellation.
#pragma once

#include <cmath>
#include <utility>

namespace lumetra::renderlib {

inline int solveQuadratic(double a, double b, double c, double roots[2]) {
  if (a == 0) {
    if (b == 0) return 0;
    roots[0] = -c / b;
    return 1;
  }
  const double discriminant = b * b - 4 * a * c;
  if (discriminant < 0) return 0;
  const double q = -0.5 * (b + std::copysign(std::sqrt(discriminant), b));
  roots[0] = q / a;
  roots[1] = q != 0 ? c / q : roots[0];
  if (roots[0] > roots[1]) std::swap(roots[0], roots[1]);
  return 2;
}

}  // namespace lumetra::renderlib
