// Root finding: closed forms and Sturm sequences against polynomials built from known roots.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polynomial.h"

namespace lumetra::renderlib {
namespace {

// Coefficients (constant term first) of the monic polynomial with these roots.
std::vector<double> fromRoots(const std::vector<double>& roots) {
  std::vector<double> c{1};
  for (double r : roots) {
    std::vector<double> next(c.size() + 1, 0);
    for (size_t i = 0; i < c.size(); ++i) {
      next[i + 1] += c[i];
      next[i] -= r * c[i];
    }
    c = next;
  }
  return c;
}

void expectRoots(const double* found, int count, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(count, int(expected.size()));
  for (int i = 0; i < count; ++i) EXPECT_NEAR(found[i], expected[i], tolerance) << "root " << i;
}

TEST(Polynomial, CubicWithThreeAndOneRealRoots) {
  double roots[3];
  const std::vector<double> three = fromRoots({-2, 0.5, 7});
  expectRoots(roots, solveCubic(three.data(), roots), {-2, 0.5, 7}, 1e-10);
  const double one[4] = {-2, 0, 1, 1};  // (x - 1)(x^2 + 2x + 2)
  expectRoots(roots, solveCubic(one, roots), {1}, 1e-10);
}

TEST(Polynomial, QuarticClosedFormFindsSpreadRoots) {
  double roots[4];
  for (const std::vector<double>& expected :
       {std::vector<double>{-3, -1, 2, 5}, {0.001, 0.002, 10, 11}, {-7, -6.5, 0, 3}}) {
    const std::vector<double> c = fromRoots(expected);
    expectRoots(roots, solveQuartic(c.data(), roots), expected, 1e-7);
  }
  const double none[5] = {1, 0, 2, 0, 1};  // (x^2 + 1)^2
  EXPECT_EQ(solveQuartic(none, roots), 0);
}

TEST(Polynomial, SturmCountsOnlyRootsInsideTheInterval) {
  const std::vector<double> c = fromRoots({-3, -1, 2, 5});
  double roots[4];
  expectRoots(roots, sturmRoots(c.data(), 4, -10, 10, roots), {-3, -1, 2, 5}, 1e-9);
  expectRoots(roots, sturmRoots(c.data(), 4, 0, 4, roots), {2}, 1e-9);
  // Two roots 1e-6 apart are still told apart.
  const std::vector<double> close = fromRoots({1, 1 + 1e-6, 4, 9});
  expectRoots(roots, sturmRoots(close.data(), 4, 0, 10, roots), {1, 1 + 1e-6, 4, 9}, 1e-9);
}

TEST(Polynomial, SturmRootsAreTightWhereThePolynomialIsFlatOnOneSide) {
  // Regula falsi stalls on curves like these; the roots must still come out to twelve digits.
  double roots[6];
  for (const std::vector<double>& expected : {std::vector<double>{0.3, 40, 41, 42},
                                              {-0.001, 0.5, 100},
                                              {-9, -8.999, 2e-3, 3, 3.5, 60},
                                              {1e-9, 1, 2, 3}}) {
    const std::vector<double> c = fromRoots(expected);
    const int count = sturmRoots(c.data(), int(expected.size()), -20, 120, roots);
    ASSERT_EQ(count, int(expected.size()));
    for (int i = 0; i < count; ++i) EXPECT_NEAR(roots[i], expected[i], 1e-11 * (1 + std::fabs(expected[i])));
  }
}

}  // namespace
}  // namespace lumetra::renderlib
