#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "keyframe/hermite_curve.h"
#include "keyframe/point_curve.h"
#include "keyframe/rotation_curve.h"
#include "keyframe/segment_lengths.h"
#include "math/testing/math_test_support.h"

namespace lumetra::keyframe {
namespace {

using math::Vector3;
using math::testing::Near;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

ParamValue P(double x, double y = 0.0, double z = 0.0) { return {x, y, z, 0.0}; }

TEST(FindSegment, LocatesTheSegmentAndTheFractionThroughIt) {
  const SegmentLengths lengths({100, 300, 0});
  EXPECT_EQ(lengths.Total(), 400.0);
  const SegmentPosition middle = FindSegment(lengths, 0.5);
  EXPECT_EQ(middle.index, 1);
  EXPECT_DOUBLE_EQ(middle.fraction, 1.0 / 3.0);
  // A boundary belongs to the segment that ends there.
  const SegmentPosition boundary = FindSegment(lengths, 0.25);
  EXPECT_EQ(boundary.index, 0);
  EXPECT_EQ(boundary.fraction, 1.0);
}

TEST(FindSegment, BeyondTheEndGivesTheCountAndZero) {
  const SegmentPosition past = FindSegment(SegmentLengths({100, 300}), 1.5);
  EXPECT_EQ(past.index, 2);
  EXPECT_EQ(past.fraction, 0.0);
}

TEST(FindSegment, ZeroLengthSegmentGivesItsStart) {
  const SegmentPosition at = FindSegment(SegmentLengths({0, 100}), 0.0);
  EXPECT_EQ(at.index, 0);
  EXPECT_EQ(at.fraction, 0.0);
}

TEST(CurveCounts, MismatchedKeyGapsAreRefused) {
  EXPECT_THROW(PointCurve(PointCurve::Kind::Linear, {P(1), P(2)}, {}), std::invalid_argument);
  EXPECT_THROW(RotationCurve({P(1)}, {10}), std::invalid_argument);
  EXPECT_THROW(HermiteCurve(2, {P(1), P(0), P(2)}, {10}), std::invalid_argument);
  EXPECT_THROW(HermiteCurve(3, {P(1), P(0), P(2)}, {10}), std::invalid_argument);
  EXPECT_THROW(PointCurve(static_cast<PointCurve::Kind>(1), {P(1)}, {}), std::invalid_argument);
}

TEST(PointCurve, EmptyAndSinglePointCurves) {
  EXPECT_EQ(PointCurve(PointCurve::Kind::Linear, {}, {}).Evaluate(0.5), Vector3());
  EXPECT_EQ(PointCurve(PointCurve::Kind::Step, {P(4, 5, 6)}, {}).Evaluate(0.7), (Vector3{4, 5, 6}));
}

TEST(PointCurve, AddsAClosingZeroLength) {
  const PointCurve curve(PointCurve::Kind::Linear, {P(0), P(1), P(2)}, {10, 20});
  EXPECT_EQ(curve.Segments().Lengths(), (std::vector<double>{10, 20, 0}));
}

TEST(PointCurve, StepWithTwoPointsHoldsTheFirstUntilTheSecond) {
  const PointCurve curve(PointCurve::Kind::Step, {P(0, 10), P(10, 30)}, {4800});
  EXPECT_EQ(curve.Evaluate(0.5), (Vector3{0, 10, 0}));
  EXPECT_EQ(curve.Evaluate(0.999), (Vector3{0, 10, 0}));
  EXPECT_EQ(curve.Evaluate(1.0), (Vector3{10, 30, 0}));
  const PointCurve linear(PointCurve::Kind::Linear, {P(0, 10), P(10, 30)}, {4800});
  EXPECT_EQ(linear.Evaluate(0.5), (Vector3{5, 20, 0}));
}

TEST(PointCurve, StepWithThreePointsHoldsTheEarlierValue) {
  const PointCurve curve(PointCurve::Kind::Step, {P(1), P(2), P(3)}, {100, 100});
  EXPECT_EQ(curve.Evaluate(0.25).x, 1.0);
  EXPECT_EQ(curve.Evaluate(0.75).x, 2.0);
  EXPECT_EQ(curve.Evaluate(1.0).x, 3.0);
}

TEST(PointCurve, LinearFollowsUnevenSegments) {
  const PointCurve curve(PointCurve::Kind::Linear, {P(0), P(10), P(40)}, {100, 300});
  EXPECT_DOUBLE_EQ(curve.Evaluate(0.125).x, 5.0);
  EXPECT_DOUBLE_EQ(curve.Evaluate(0.5).x, 20.0);
}

TEST(PointCurve, ClampsTheFraction) {
  const PointCurve curve(PointCurve::Kind::Linear, {P(1), P(2), P(7)}, {10, 10});
  EXPECT_EQ(curve.Evaluate(1.25).x, 7.0);
  EXPECT_EQ(curve.Evaluate(-0.5).x, 1.0);
  EXPECT_EQ(curve.Evaluate(kNaN).x, 1.0);
}

TEST(HermiteCurve, WithoutRecordsGivesZeroAndUnitDerivative) {
  const HermiteCurve::Sample sample = HermiteCurve(4, {}, {}).SampleAt(0.5);
  EXPECT_EQ(sample.position, Vector3());
  EXPECT_EQ(sample.derivative, (Vector3{1, 0, 0}));
}

TEST(HermiteCurve, EndsGiveTheEndValueAndTangent) {
  const HermiteCurve curve(2, {P(0), P(10), P(10), P(0), P(0), P(-10)}, {4800, 4800});
  EXPECT_EQ(curve.SampleAt(0.0).position.x, 0.0);
  EXPECT_EQ(curve.SampleAt(-1.0).derivative.x, 10.0);
  EXPECT_EQ(curve.SampleAt(1.0).position.x, 0.0);
  EXPECT_EQ(curve.SampleAt(kNaN).position.x, 0.0);
  EXPECT_EQ(curve.SampleAt(2.0).derivative.x, -10.0);
  // A single key: its value and tangent everywhere.
  const HermiteCurve single(2, {P(3), P(1)}, {});
  EXPECT_EQ(single.SampleAt(0.5).position.x, 3.0);
  EXPECT_EQ(single.SampleAt(0.5).derivative.x, 1.0);
}

TEST(HermiteCurve, ZeroTangentsEaseInAndOut) {
  const HermiteCurve curve(4, {P(0), P(0), P(10, -4), P(0)}, {4800});
  EXPECT_TRUE(Near(curve.SampleAt(0.5).position, {5, -2, 0}));
  EXPECT_TRUE(Near(curve.SampleAt(1e-9).derivative, {0, 0, 0}, 1e-6));
  EXPECT_TRUE(Near(curve.SampleAt(1.0 - 1e-9).derivative, {0, 0, 0}, 1e-6));
  EXPECT_DOUBLE_EQ(curve.SampleAt(0.25).position.x, 10 * (3 * 0.0625 - 2 * 0.015625));
}

TEST(HermiteCurve, DerivativeMatchesTheSlopeOfThePosition) {
  const HermiteCurve curve(4, {P(1), P(3), P(2), P(-5), P(2), P(4), P(0), P(1)}, {100, 300});
  for (double u : {0.1, 0.2, 0.4, 0.6, 0.9}) {
    const double s = FindSegment(curve.Segments(), u).fraction;
    const double length =
        curve.Segments().Lengths()[static_cast<std::size_t>(FindSegment(curve.Segments(), u).index)];
    const double du = 1e-6 * length / curve.Segments().Total();  // a local step of 1e-6
    const double slope = (curve.Evaluate(u + du).x - curve.Evaluate(u - du).x) / 2e-6;
    EXPECT_NEAR(curve.SampleAt(u).derivative.x, slope, 1e-5) << "u " << u << " s " << s;
  }
}

TEST(HermiteCurve, StrideTwoSharesRecordsBetweenNeighbouringSegments) {
  const HermiteCurve curve(2, {P(0), P(10), P(10), P(0), P(0), P(-10)}, {4800, 4800});
  // Second segment: from 10 with tangent 0 to 0 with tangent -10, at s = 0.5.
  EXPECT_DOUBLE_EQ(curve.Evaluate(0.75).x, 0.5 * 10 + (-0.125) * (-10));
}

TEST(RotationCurve, EmptyAndSingleKey) {
  EXPECT_EQ(RotationCurve({}, {}).Evaluate(0.3), Vector3());
  EXPECT_TRUE(Near(RotationCurve({P(10, 20, 30)}, {}).Evaluate(0.3), {10, 20, 30}, 1e-12));
}

TEST(RotationCurve, EndsComeBackThroughQuaternions) {
  const RotationCurve curve({P(0, 0, 200), P(0, 0, 0), P(0, 0, 90)}, {10, 10});
  EXPECT_TRUE(Near(curve.Evaluate(0.0), {0, 0, -160}, 1e-12));
  EXPECT_TRUE(Near(curve.Evaluate(1.5), {0, 0, 90}, 1e-12));
}

TEST(RotationCurve, TwoKeysSlerpByTheCurveFraction) {
  const RotationCurve curve({P(0, 0, 0), P(0, 0, 90)}, {4800});
  EXPECT_TRUE(Near(curve.Evaluate(0.25), {0, 0, 22.5}, 1e-12));
}

TEST(RotationCurve, MoreKeysSlerpWithinTheirSegment) {
  const RotationCurve curve({P(0, 0, 0), P(0, 0, 90), P(0, 0, 150)}, {100, 300});
  EXPECT_TRUE(Near(curve.Evaluate(0.125), {0, 0, 45}, 1e-12));
  EXPECT_TRUE(Near(curve.Evaluate(0.625), {0, 0, 120}, 1e-12));  // halfway through the second segment
}

}  // namespace
}  // namespace lumetra::keyframe
