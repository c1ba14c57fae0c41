#include "math/matrix4.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "math/testing/math_test_support.h"
#include "math/transform.h"

namespace lumetra::math {
namespace {

using testing::Near;
using testing::RandomVector;

constexpr double kHalfPi = std::numbers::pi / 2.0;

Matrix4 RandomAffine(std::mt19937& random) {
  std::uniform_real_distribution<double> value(-2.0, 2.0);
  Matrix4 m;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) m(r, c) = value(random);
  }
  return m;
}

Matrix4 Sample() {
  return Matrix4({2, 0, 1, 0,  //
                  1, 3, 0, 0,  //
                  0, 1, 4, 0,  //
                  5, 6, 7, 1});
}

TEST(Matrix4, IsRowMajorAndStartsAsIdentity) {
  const Matrix4 m({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  EXPECT_EQ(m(1, 2), 6.0);
  EXPECT_EQ(m(3, 0), 12.0);
  EXPECT_EQ(Matrix4(), Matrix4({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(Matrix4, TransposeInPlaceAndIntoCopyAgree) {
  Matrix4 m({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  const Matrix4 copy = m.Transposed();
  m.Transpose();
  EXPECT_EQ(m, copy);
  EXPECT_EQ(m(2, 1), 6.0);
  EXPECT_EQ(m(0, 3), 12.0);
}

TEST(Matrix4, MultiplyAppendsAndPreMultiplyPrependsInRowVectorOrder) {
  Transform scale, move;
  scale.Scale({2, 2, 2});
  move.Translate({1, 0, 0});
  Matrix4 scaleThenMove = scale.Matrix();
  scaleThenMove.Multiply(move.Matrix());
  EXPECT_TRUE(Near(MapPoint({1, 1, 1}, scaleThenMove), {3, 2, 2}));

  Matrix4 moveThenScale = scale.Matrix();
  moveThenScale.PreMultiply(move.Matrix());
  EXPECT_TRUE(Near(MapPoint({1, 1, 1}, moveThenScale), {4, 2, 2}));
}

TEST(Matrix4, DeterminantByCofactors) {
  EXPECT_DOUBLE_EQ(Sample().Determinant(), 25.0);
  EXPECT_DOUBLE_EQ(Matrix4({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).Determinant(), -1.0);
  // A full matrix exercises every cofactor sign: det(AB) = det(A) det(B).
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-3.0, 3.0);
  for (int trial = 0; trial < 50; ++trial) {
    std::array<double, 16> a, b;
    for (double& e : a) e = value(random);
    for (double& e : b) e = value(random);
    const Matrix4 ma(a), mb(b);
    EXPECT_NEAR((ma * mb).Determinant(), ma.Determinant() * mb.Determinant(), 1e-9);
  }
}

TEST(Matrix4, InvertOfSingularMatrixGivesIdentityAndFails) {
  Matrix4 tiny({1e-31, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_FALSE(tiny.Invert());
  EXPECT_EQ(tiny, Matrix4::Identity());

  Matrix4 negative({-1e-31, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_FALSE(negative.Invert());

  Matrix4 atThreshold({1e-30, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  ASSERT_TRUE(atThreshold.Invert());
  EXPECT_DOUBLE_EQ(atThreshold(0, 0), 1e30);
}

TEST(Matrix4, InvertOfRandomAffineMatricesGivesIdentityProducts) {
  std::mt19937 random(11);
  int inverted = 0;
  while (inverted < 200) {
    const Matrix4 m = RandomAffine(random);
    if (std::fabs(m.Determinant()) < 0.05) continue;  // keep the tolerance meaningful
    Matrix4 inverse = m;
    ASSERT_TRUE(inverse.Invert());
    EXPECT_TRUE(Near(inverse * m, Matrix4::Identity(), 1e-9));
    EXPECT_TRUE(Near(m * inverse, Matrix4::Identity(), 1e-9));
    ++inverted;
  }
}

TEST(Matrix4, AxisAngleRotatesRightHandedAboutTheNormalisedAxis) {
  const Matrix4 aboutX = Matrix4::AxisAngle({3, 0, 0}, kHalfPi);
  EXPECT_TRUE(Near(MapPoint({0, 1, 0}, aboutX), {0, 0, 1}, 1e-15));
  const Matrix4 aboutZ = Matrix4::AxisAngle({0, 0, 1}, kHalfPi);
  EXPECT_TRUE(Near(MapPoint({1, 0, 0}, aboutZ), {0, 1, 0}, 1e-15));
}

TEST(Matrix4, AxisAngleWithZeroAxisRotatesAboutX) {
  EXPECT_EQ(Matrix4::AxisAngle({0, 0, 0}, 0.7), Matrix4::AxisAngle({1, 0, 0}, 0.7));
}

TEST(Matrix4, AxisAngleMatchesEulerRotationAndInvertsByTransposing) {
  Transform euler;
  euler.RotateEuler(0, 0.4, 0);
  EXPECT_TRUE(Near(Matrix4::AxisAngle({0, 1, 0}, 0.4), euler.Matrix(), 1e-15));

  std::mt19937 random(3);
  for (int trial = 0; trial < 20; ++trial) {
    const Matrix4 r = Matrix4::AxisAngle(RandomVector(random, 1.0), RandomVector(random, 3.0).x);
    EXPECT_TRUE(Near(r * r.Transposed(), Matrix4::Identity(), 1e-12));
    EXPECT_NEAR(r.Determinant(), 1.0, 1e-12);
  }
}

}  // namespace
}  // namespace lumetra::math
