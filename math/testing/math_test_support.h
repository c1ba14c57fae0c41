#pragma once

// Comparisons with a tolerance and random inputs for the math and curve tests.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <random>

#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace lumetra::math::testing {

template <std::size_t N>
::testing::AssertionResult NearComponents(const std::array<double, N>& actual,
                                          const std::array<double, N>& expected, double tolerance) {
  for (std::size_t i = 0; i < N; ++i) {
    if (!(std::fabs(actual[i] - expected[i]) <= tolerance)) {
      auto failure = ::testing::AssertionFailure()
                     << "component " << i << " differs by more than " << tolerance << ":\n  actual  ";
      for (double a : actual) failure << a << " ";
      failure << "\n  expected ";
      for (double e : expected) failure << e << " ";
      return failure;
    }
  }
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult Near(const Vector3& actual, const Vector3& expected,
                                       double tolerance = 1e-12) {
  return NearComponents<3>({actual.x, actual.y, actual.z}, {expected.x, expected.y, expected.z}, tolerance);
}

inline ::testing::AssertionResult Near(const Quaternion& actual, const Quaternion& expected,
                                       double tolerance = 1e-12) {
  return NearComponents<4>({actual.x, actual.y, actual.z, actual.w},
                           {expected.x, expected.y, expected.z, expected.w}, tolerance);
}

inline ::testing::AssertionResult Near(const Matrix4& actual, const Matrix4& expected,
                                       double tolerance = 1e-12) {
  return NearComponents(actual.Elements(), expected.Elements(), tolerance);
}

inline Vector3 RandomVector(std::mt19937& random, double limit) {
  std::uniform_real_distribution<double> value(-limit, limit);
  return {value(random), value(random), value(random)};
}

}  // namespace lumetra::math::testing
