#include "math/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "math/angles.h"
#include "math/testing/math_test_support.h"
#include "math/transform.h"

namespace lumetra::math {
namespace {

using testing::Near;
using testing::RandomVector;

double Norm(const Quaternion& q) { return std::sqrt(Dot(q, q)); }

Quaternion AboutZ(double degrees) { return Quaternion::FromEulerDegrees({0, 0, degrees}); }

Quaternion RandomUnit(std::mt19937& random) {
  const Vector3 angles = RandomVector(random, 180.0);
  return Quaternion::FromEulerDegrees(angles);
}

TEST(Quaternion, ZeroEulerAnglesAreTheIdentityBothWays) {
  EXPECT_EQ(Quaternion::FromEulerDegrees({0, 0, 0}), (Quaternion{0, 0, 0, 1}));
  EXPECT_EQ(Quaternion().ToEulerDegrees(), (Vector3{0, 0, 0}));
}

TEST(Quaternion, MatrixIsTheTransposeOfTheEulerTransform) {
  std::mt19937 random(13);
  for (int trial = 0; trial < 100; ++trial) {
    const Vector3 degrees = RandomVector(random, 360.0);
    Transform euler;
    euler.RotateEuler(degrees.x * kDegreesToRadians, degrees.y * kDegreesToRadians,
                      degrees.z * kDegreesToRadians);
    EXPECT_TRUE(Near(Quaternion::FromEulerDegrees(degrees).ToMatrix(), euler.Matrix().Transposed(), 1e-12));
  }
}

TEST(Quaternion, MatrixOfZeroQuaternionIsIdentity) {
  EXPECT_EQ((Quaternion{0, 0, 0, 0}).ToMatrix(), Matrix4::Identity());
}

TEST(Quaternion, EulerDegreesRoundTripInsideTheCanonicalRange) {
  std::mt19937 random(17);
  std::uniform_real_distribution<double> full(-179.0, 179.0), half(-89.0, 89.0);
  for (int trial = 0; trial < 200; ++trial) {
    const Vector3 degrees{full(random), half(random), full(random)};
    EXPECT_TRUE(Near(Quaternion::FromEulerDegrees(degrees).ToEulerDegrees(), degrees, 1e-9));
  }
}

TEST(Quaternion, EulerDegreesAtGimbalLockPutTheTurnIntoX) {
  const Quaternion q = Quaternion::FromEulerDegrees({30, 90, 20});
  const Vector3 back = q.ToEulerDegrees();
  EXPECT_NEAR(back.y, 90.0, 1e-6);
  EXPECT_EQ(back.z, 0.0);
  EXPECT_TRUE(Near(Quaternion::FromEulerDegrees(back).ToMatrix(), q.ToMatrix(), 1e-6));
}

TEST(Quaternion, HamiltonProductWithWLast) {
  const Quaternion i{1, 0, 0, 0}, j{0, 1, 0, 0}, k{0, 0, 1, 0};
  EXPECT_EQ(i * j, k);
  EXPECT_EQ(j * i, k * -1.0);
  EXPECT_EQ(j * k, i);
  Quaternion q = i;
  q *= i;
  EXPECT_EQ(q, (Quaternion{0, 0, 0, -1}));
}

TEST(Quaternion, ProductComposesRotations) {
  std::mt19937 random(19);
  for (int trial = 0; trial < 50; ++trial) {
    const Quaternion a = RandomUnit(random), b = RandomUnit(random);
    EXPECT_TRUE(Near((a * b).ToMatrix(), a.ToMatrix() * b.ToMatrix(), 1e-12));
  }
}

TEST(Quaternion, InverseUndoesTheProductAndConjugateNegatesTheVector) {
  const Quaternion q{1, -2, 3, 4};
  EXPECT_TRUE(Near(q * q.Inverse(), Quaternion(), 1e-15));
  EXPECT_TRUE(Near(q.Inverse() * q, Quaternion(), 1e-15));
  EXPECT_EQ(q.Conjugate(), (Quaternion{-1, 2, -3, 4}));
  EXPECT_EQ((Quaternion{0, 0, 0, 0}).Inverse(), Quaternion());
}

TEST(Quaternion, LogAndExpAreInverseOnUnitQuaternions) {
  const double theta = 0.6;
  const Quaternion q{0, std::sin(theta), 0, std::cos(theta)};
  EXPECT_TRUE(Near(q.Log(), {0, theta, 0, 0}, 1e-15));
  EXPECT_TRUE(Near(q.Log().Exp(), q, 1e-15));
  // At the identity the sine vanishes: the vector stays as it is.
  EXPECT_EQ(Quaternion().Log(), (Quaternion{0, 0, 0, 0}));
  EXPECT_EQ((Quaternion{0, 0, 0, 0}).Exp(), Quaternion());
}

TEST(Slerp, EndsAtItsInputs) {
  const Quaternion a = AboutZ(10), b = Quaternion::FromEulerDegrees({40, 20, 0});
  EXPECT_TRUE(Near(Slerp(a, b, 0.0), a, 1e-15));
  EXPECT_TRUE(Near(Slerp(a, b, 1.0), b, 1e-15));
}

TEST(Slerp, HalfwayTurnsHalfTheAngle) {
  EXPECT_TRUE(Near(Slerp(Quaternion(), AboutZ(90), 0.5), AboutZ(45), 1e-15));
}

TEST(Slerp, TakesTheShorterArcTowardsTheNegatedQuaternion) {
  const Quaternion negated = AboutZ(45) * -1.0;
  EXPECT_TRUE(Near(Slerp(Quaternion(), negated, 0.5), AboutZ(22.5), 1e-15));
  EXPECT_TRUE(Near(Slerp(Quaternion(), negated, 1.0), AboutZ(45), 1e-15));
}

TEST(Slerp, EqualQuaternionsGiveTheFirst) {
  const Quaternion a = AboutZ(30);
  const Quaternion nearlyA{a.x + 1e-9, a.y, a.z, a.w};
  EXPECT_EQ(Slerp(a, nearlyA, 0.7), a);
}

TEST(Slerp, OppositeQuaternionsPassThroughAPerpendicularOne) {
  const Quaternion a = Quaternion::FromEulerDegrees({10, 20, 30});
  const Quaternion b = a * -1.0;
  EXPECT_TRUE(Near(Slerp(a, b, 0.0), a, 1e-15));
  const Quaternion end = Slerp(a, b, 1.0);
  EXPECT_NEAR(Dot(end, a), 0.0, 1e-15);
  EXPECT_NEAR(Norm(Slerp(a, b, 0.3)), 1.0, 1e-15);
}

TEST(Slerp, ResultsStayUnitLength) {
  std::mt19937 random(23);
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  for (int trial = 0; trial < 500; ++trial) {
    const Quaternion a = RandomUnit(random), b = RandomUnit(random);
    EXPECT_NEAR(Norm(Slerp(a, b, fraction(random))), 1.0, 1e-12);
  }
}

TEST(Squad, RunsFromFirstToLastAndReducesToSlerpWithoutInnerControls) {
  const Quaternion p = AboutZ(0), a = AboutZ(50), b = Quaternion::FromEulerDegrees({0, 40, 0}),
                   q = AboutZ(90);
  EXPECT_TRUE(Near(Squad(0.0, p, a, b, q), p, 1e-15));
  EXPECT_TRUE(Near(Squad(1.0, p, a, b, q), q, 1e-15));
  EXPECT_TRUE(Near(Squad(0.25, p, p, q, q), Slerp(p, q, 0.25), 1e-15));
  EXPECT_NEAR(Norm(Squad(0.4, p, a, b, q)), 1.0, 1e-12);
}

}  // namespace
}  // namespace lumetra::math
