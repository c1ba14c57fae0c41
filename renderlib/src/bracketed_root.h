// The root of a function that changes sign once between the ends of a bracket.
#pragma once

#include <cmath>

namespace lumetra::renderlib {

// Regula falsi in the Illinois variant, which keeps the root bracketed but halves the weight of
// an end that stays put, so both ends close in within a handful of steps where bisection takes
// fifty. A step that does not halve the bracket is followed by a bisection, so the worst case
// stays bisection's. Stops once the bracket is no wider than tolerance(lower) or no double lies
// inside it; value_lower and value_upper are f at the ends and differ in sign.
template <class Function, class Tolerance>
double bracketedRoot(const Function& f, double lower, double upper, double value_lower, double value_upper,
                     const Tolerance& tolerance) {
  int kept = 0;  // -1: the lower end moved last, +1: the upper end did
  // Moves the end on x's side of the root to x; true when x is the root itself.
  auto narrow = [&](double x, double value) {
    if (value == 0) return true;
    if ((value < 0) == (value_lower < 0)) {
      lower = x;
      value_lower = value;
    } else {
      upper = x;
      value_upper = value;
    }
    return false;
  };
  for (int step = 0; step < 100 && upper - lower > tolerance(lower); ++step) {
    const double middle = 0.5 * (lower + upper);
    if (middle == lower || middle == upper) break;
    const double width = upper - lower;
    double x = (lower * value_upper - upper * value_lower) / (value_upper - value_lower);
    if (!(x > lower && x < upper)) x = middle;
    const double value = f(x);
    const int side = (value < 0) == (value_lower < 0) ? -1 : 1;
    if (narrow(x, value)) return x;
    if (side == kept) (side == -1 ? value_upper : value_lower) *= 0.5;
    kept = side;
    if (upper - lower > 0.5 * width) {
      const double halfway = 0.5 * (lower + upper);
      if (narrow(halfway, f(halfway))) return halfway;
      kept = 0;
    }
  }
  return 0.5 * (lower + upper);
}

}  // namespace lumetra::renderlib
