#include "polynomial.h"

#include "bracketed_root.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "quadratic.h"
#include "vec3.h"

namespace lumetra::renderlib {
namespace {

constexpr double kNearZero = 1e-12;

void polish(const double* c, int degree, double& root) {
  for (int step = 0; step < 4; ++step) {
    double value = c[degree], slope = 0;
    for (int i = degree - 1; i >= 0; --i) {
      slope = slope * root + value;
      value = value * root + c[i];
    }
    if (slope == 0) return;
    const double next = root - value / slope;
    if (!std::isfinite(next)) return;
    root = next;
  }
}

int finish(const double* c, int degree, double* roots, int count) {
  for (int i = 0; i < count; ++i) polish(c, degree, roots[i]);
  std::sort(roots, roots + count);
  return count;
}

// Roots of x^3 + p x + q.
int solveDepressedCubic(double p, double q, double roots[3]) {
  const double cube_p = p * p * p;
  const double discriminant = q * q / 4 + cube_p / 27;
  if (std::fabs(discriminant) < kNearZero) {
    if (std::fabs(q) < kNearZero) {
      roots[0] = 0;
      return 1;
    }
    const double u = std::cbrt(-q / 2);
    roots[0] = 2 * u;
    roots[1] = -u;
    return 2;
  }
  if (discriminant < 0) {
    const double phi = std::acos(std::clamp(-q / 2 / std::sqrt(-cube_p / 27), -1.0, 1.0)) / 3;
    const double scale = 2 * std::sqrt(-p / 3);
    roots[0] = scale * std::cos(phi);
    roots[1] = -scale * std::cos(phi + std::numbers::pi / 3);
    roots[2] = -scale * std::cos(phi - std::numbers::pi / 3);
    return 3;
  }
  const double root_d = std::sqrt(discriminant);
  roots[0] = std::cbrt(root_d - q / 2) - std::cbrt(root_d + q / 2);
  return 1;
}

int normalizedCubicRoots(double a, double b, double c, double roots[3]) {
  // x = y - a/3 removes the square term.
  const double p = b - a * a / 3;
  const double q = 2 * a * a * a / 27 - a * b / 3 + c;
  const int count = solveDepressedCubic(p, q, roots);
  for (int i = 0; i < count; ++i) roots[i] -= a / 3;
  return count;
}

using Polynomial = std::array<double, kMaxPolynomialDegree + 1>;

struct SturmSequence {
  std::array<Polynomial, kMaxPolynomialDegree + 1> terms{};
  std::array<int, kMaxPolynomialDegree + 1> degrees{};
  int count = 0;

  int signChanges(double x) const {
    int changes = 0;
    double previous = 0;
    for (int i = 0; i < count; ++i) {
      const double value = evaluatePolynomial(terms[i].data(), degrees[i], x);
      if (value == 0) continue;
      if (previous != 0 && (value < 0) != (previous < 0)) ++changes;
      previous = value;
    }
    return changes;
  }
};

// The negated remainder of a divided by b.
int negatedRemainder(const Polynomial& a, int degree_a, const Polynomial& b, int degree_b, Polynomial& out) {
  Polynomial rest = a;
  for (int d = degree_a; d >= degree_b; --d) {
    const double factor = rest[d] / b[degree_b];
    for (int i = 0; i <= degree_b; ++i) rest[d - degree_b + i] -= factor * b[i];
  }
  int degree = degree_b - 1;
  const double scale = std::fabs(b[degree_b]) + 1e-300;
  while (degree >= 0 && std::fabs(rest[degree]) < 1e-14 * scale) --degree;
  for (int i = 0; i <= std::max(degree, 0); ++i) out[i] = -rest[i];
  return degree;
}

SturmSequence buildSturm(const double* c, int degree) {
  SturmSequence s;
  std::copy(c, c + degree + 1, s.terms[0].begin());
  s.degrees[0] = degree;
  for (int i = 1; i <= degree; ++i) s.terms[1][i - 1] = i * c[i];
  s.degrees[1] = degree - 1;
  s.count = 2;
  while (s.count <= kMaxPolynomialDegree && s.degrees[s.count - 1] > 0) {
    const int next = negatedRemainder(s.terms[s.count - 2], s.degrees[s.count - 2], s.terms[s.count - 1],
                                      s.degrees[s.count - 1], s.terms[s.count]);
    if (next < 0) break;
    s.degrees[s.count++] = next;
  }
  return s;
}

// The root of c in (lower, upper), where c changes sign once, to twelve digits.
double bisectRoot(const double* c, int degree, double lower, double upper) {
  const auto value = [&](double x) { return evaluatePolynomial(c, degree, x); };
  return bracketedRoot(value, lower, upper, value(lower), value(upper),
                       [](double at) { return 1e-12 * (1 + std::fabs(at)); });
}

void isolate(const SturmSequence& s, const double* c, int degree, double lower, double upper,
             int changes_lower, int changes_upper, int depth, double* roots, int& count) {
  const int inside = changes_lower - changes_upper;
  if (inside <= 0) return;
  if (inside == 1) {
    // Sturm counts roots in (lower, upper]: one may sit exactly on the upper end.
    const double value_lower = evaluatePolynomial(c, degree, lower);
    const double value_upper = evaluatePolynomial(c, degree, upper);
    if (value_upper == 0) {
      roots[count++] = upper;
      return;
    }
    if ((value_lower < 0) != (value_upper < 0)) {
      roots[count++] = bisectRoot(c, degree, lower, upper);
      return;
    }
  }
  if (depth > 60) {  // a multiple root: the interval has shrunk onto it
    roots[count++] = 0.5 * (lower + upper);
    return;
  }
  const double middle = 0.5 * (lower + upper);
  const int changes_middle = s.signChanges(middle);
  isolate(s, c, degree, lower, middle, changes_lower, changes_middle, depth + 1, roots, count);
  isolate(s, c, degree, middle, upper, changes_middle, changes_upper, depth + 1, roots, count);
}

}  // namespace

double evaluatePolynomial(const double* c, int degree, double x) {
  double value = c[degree];
  for (int i = degree - 1; i >= 0; --i) value = value * x + c[i];
  return value;
}

int solveCubic(const double c[4], double roots[3]) {
  if (c[3] == 0) {
    double quadratic_roots[2];
    const int count = solveQuadratic(c[2], c[1], c[0], quadratic_roots);
    std::copy(quadratic_roots, quadratic_roots + count, roots);
    return count;
  }
  const int count = normalizedCubicRoots(c[2] / c[3], c[1] / c[3], c[0] / c[3], roots);
  return finish(c, 3, roots, count);
}

int solveQuartic(const double c[5], double roots[4]) {
  if (c[4] == 0) return solveCubic(c, roots);
  const double a = c[3] / c[4], b = c[2] / c[4], cc = c[1] / c[4], d = c[0] / c[4];
  // x = y - a/4 gives y^4 + p y^2 + q y + r.
  const double aa = a * a;
  const double p = b - 3 * aa / 8;
  const double q = aa * a / 8 - a * b / 2 + cc;
  const double r = -3 * aa * aa / 256 + aa * b / 16 - a * cc / 4 + d;
  int count = 0;
  if (std::fabs(r) < kNearZero) {
    count = normalizedCubicRoots(0, p, q, roots);
    roots[count++] = 0;
  } else {
    // Resolvent cubic z^3 - p/2 z^2 - r z + (r p / 2 - q^2 / 8); its largest root splits
    // the quartic into two quadratics.
    double resolvent[3];
    const int resolvent_count = normalizedCubicRoots(-p / 2, -r, r * p / 2 - q * q / 8, resolvent);
    const double z = *std::max_element(resolvent, resolvent + resolvent_count);
    double u = z * z - r, v = 2 * z - p;
    if (u < -kNearZero || v < -kNearZero) return 0;
    u = std::sqrt(std::max(u, 0.0));
    v = std::sqrt(std::max(v, 0.0));
    double pair[2];
    const int first = solveQuadratic(1, q < 0 ? -v : v, z - u, pair);
    std::copy(pair, pair + first, roots);
    const int second = solveQuadratic(1, q < 0 ? v : -v, z + u, pair);
    std::copy(pair, pair + second, roots + first);
    count = first + second;
  }
  for (int i = 0; i < count; ++i) roots[i] -= a / 4;
  return finish(c, 4, roots, count);
}

int sturmRoots(const double* c, int degree, double lower, double upper, double* roots) {
  while (degree > 0 && c[degree] == 0) --degree;
  if (degree <= 0) return 0;
  const SturmSequence s = buildSturm(c, degree);
  int count = 0;
  isolate(s, c, degree, lower, upper, s.signChanges(lower), s.signChanges(upper), 0, roots, count);
  return count;
}

}  // namespace lumetra::renderlib
