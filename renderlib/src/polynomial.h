// Real roots of polynomials up to degree six (closed forms up to four). Coefficients run from the constant
// term up: c[0] + c[1] x + ... + c[n] x^n.
#pragma once

namespace lumetra::renderlib {

constexpr int kMaxPolynomialDegree = 6;

double evaluatePolynomial(const double* c, int degree, double x);
// Closed-form roots (Cardano, Ferrari) polished by Newton steps; sorted ascending.
int solveCubic(const double c[4], double roots[3]);
int solveQuartic(const double c[5], double roots[4]);
// Roots in (lower, upper) isolated by a Sturm sequence and refined by bisection: slower,
// but it misses no root that is not a multiple root; sorted ascending.
int sturmRoots(const double* c, int degree, double lower, double upper, double* roots);

}  // namespace lumetra::renderlib
