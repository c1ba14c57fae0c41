#include "math/transform.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "math/testing/math_test_support.h"

namespace lumetra::math {
namespace {

using testing::Near;
using testing::RandomVector;

constexpr double kHalfPi = std::numbers::pi / 2.0;

TEST(Transform, StartsAsIdentityWithFlagClear) {
  const Transform t;
  EXPECT_EQ(t.Matrix(), Matrix4::Identity());
  EXPECT_EQ(t.Inverse(), Matrix4::Identity());
  EXPECT_EQ(t.HandednessFlag(), 0);
}

TEST(Transform, ScaleSetsDiagonalAndReciprocalInverse) {
  Transform t;
  t.Translate({9, 9, 9});
  t.Scale({2, 4, 8});
  EXPECT_EQ(t.Matrix(), Matrix4({2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 8, 0, 0, 0, 0, 1}));
  EXPECT_EQ(t.Inverse(), Matrix4({0.5, 0, 0, 0, 0, 0.25, 0, 0, 0, 0, 0.125, 0, 0, 0, 0, 1}));
}

TEST(Transform, ScaleTogglesHandednessOnlyForAnOddNumberOfNegativeFactors) {
  Transform t;
  t.Scale({-1, 1, 1});
  EXPECT_EQ(t.HandednessFlag(), 1);
  t.Scale({-1, -1, 1});
  EXPECT_EQ(t.HandednessFlag(), 1);
  t.Scale({1, 1, -3});  // toggled, not set
  EXPECT_EQ(t.HandednessFlag(), 0);
}

TEST(Transform, TranslateSetsRowThreeAndClearsTheFlag) {
  Transform t;
  t.Scale({-1, 1, 1});
  t.Translate({1, 2, 3});
  EXPECT_EQ(t.HandednessFlag(), 0);
  EXPECT_EQ(t.Matrix(), Matrix4({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
  EXPECT_TRUE(Near(t.InverseTransformPoint({1, 2, 3}), {0, 0, 0}));
}

TEST(Transform, RotateEulerAboutZMapsXToYAndBack) {
  Transform t;
  t.RotateEuler(0, 0, kHalfPi);
  EXPECT_TRUE(Near(t.TransformPoint({1, 0, 0}), {0, 1, 0}, 1e-15));
  EXPECT_TRUE(Near(t.InverseTransformPoint({0, 1, 0}), {1, 0, 0}, 1e-15));
}

TEST(Transform, RotateEulerTurnsAboutXBeforeY) {
  Transform t;
  t.RotateEuler(kHalfPi, kHalfPi, 0);
  // x takes y to z, then y takes z to x; the other order would leave z.
  EXPECT_TRUE(Near(t.TransformPoint({0, 1, 0}), {1, 0, 0}, 1e-15));
}

TEST(Transform, RotateEulerThenInverseTransformPointReturnsThePoint) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 200; ++trial) {
    const Vector3 angles = RandomVector(random, 2.0 * std::numbers::pi);
    const Vector3 p = RandomVector(random, 100.0);
    Transform t;
    t.RotateEuler(angles.x, angles.y, angles.z);
    EXPECT_TRUE(Near(t.InverseTransformPoint(t.TransformPoint(p)), p, 1e-12));
    EXPECT_NEAR(Length(t.TransformPoint(p)), Length(p), 1e-12);
  }
}

TEST(Transform, ComposeAppliesStepsInOrderAndKeepsTheInverse) {
  Transform whole, step;
  whole.Scale({-2, 2, 2});
  step.RotateEuler(0, 0, kHalfPi);
  whole.Compose(step);
  step.Translate({10, 0, 0});
  whole.Compose(step);

  // (1, 0, 0) scaled to (-2, 0, 0), turned to (0, -2, 0), moved to (10, -2, 0).
  EXPECT_TRUE(Near(whole.TransformPoint({1, 0, 0}), {10, -2, 0}, 1e-15));
  EXPECT_TRUE(Near(whole.InverseTransformPoint({10, -2, 0}), {1, 0, 0}, 1e-15));
  Matrix4 inverted = whole.Matrix();
  ASSERT_TRUE(inverted.Invert());
  EXPECT_TRUE(Near(whole.Inverse(), inverted, 1e-15));
  EXPECT_EQ(whole.HandednessFlag(), 1);
}

TEST(Transform, ComposeCombinesHandednessFlags) {
  Transform mirrored, alsoMirrored;
  mirrored.Scale({-1, 1, 1});
  alsoMirrored.Scale({1, -1, 1});
  mirrored.Compose(alsoMirrored);
  EXPECT_EQ(mirrored.HandednessFlag(), 0);
}

}  // namespace
}  // namespace lumetra::math
