#include "keyframe/track_curves.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <vector>

#include "keyframe/hermite_curve.h"
#include "keyframe/point_curve.h"
#include "keyframe/rotation_curve.h"
#include "math/testing/math_test_support.h"

namespace lumetra::keyframe {

void PrintTo(const ParamValue& value, std::ostream* out) {
  *out << "(" << value.x << ", " << value.y << ", " << value.z << ", " << value.w << ")";
}

namespace {

using math::Vector3;
using math::testing::Near;

struct FakeParam {
  ValueType type = ValueType::Scalar;
  bool hasTangents = false;
};

// A track held in plain vectors: keys[k][param] is one key's parameter.
class FakeTrack final : public KeyTrack {
 public:
  FakeTrack(Interpolation kind, std::vector<FakeParam> params) : kind_(kind), params_(std::move(params)) {}

  FakeTrack& Key(std::int32_t time, std::vector<KeyParam> values) {
    times_.push_back(time);
    keys_.push_back(std::move(values));
    return *this;
  }

  int KeyCount() const override { return static_cast<int>(times_.size()); }
  std::int32_t KeyTime(int key) const override { return times_.at(static_cast<std::size_t>(key)); }
  Interpolation InterpolationKind() const override { return kind_; }
  int ParamCount() const override { return static_cast<int>(params_.size()); }
  ValueType ParamType(int param) const override { return params_.at(static_cast<std::size_t>(param)).type; }
  bool HasTangents(int param) const override {
    return params_.at(static_cast<std::size_t>(param)).hasTangents;
  }
  KeyParam Param(int key, int param) const override {
    return keys_.at(static_cast<std::size_t>(key)).at(static_cast<std::size_t>(param));
  }

 private:
  Interpolation kind_;
  std::vector<FakeParam> params_;
  std::vector<std::int32_t> times_;
  std::vector<std::vector<KeyParam>> keys_;
};

KeyParam V(double x, double y = 0.0, double z = 0.0) { return {{x, y, z, 0.0}, {}, {}}; }

// A scalar track with the given values at 0, 4800, 9600, ...
FakeTrack ScalarTrack(Interpolation kind, std::vector<double> values, bool hasTangents = false) {
  FakeTrack track(kind, {{ValueType::Scalar, hasTangents}});
  std::int32_t time = 0;
  for (double value : values) {
    track.Key(time, {V(value)});
    time += 4800;
  }
  return track;
}

template <typename CurveType>
const CurveType& CurveAs(const TrackCurves& curves, int param) {
  const auto* curve = dynamic_cast<const CurveType*>(curves.Find(param));
  if (curve == nullptr)
    throw std::logic_error("parameter " + std::to_string(param) + " has another curve class");
  return *curve;
}

TEST(BuildTrackCurves, NoKeysOrNoParametersGiveNoSlots) {
  EXPECT_EQ(BuildTrackCurves(FakeTrack(Interpolation::Linear, {{}})).SlotCount(), 0);
  FakeTrack noParams(Interpolation::Linear, {});
  noParams.Key(0, {});
  EXPECT_EQ(BuildTrackCurves(noParams).SlotCount(), 0);
}

TEST(BuildTrackCurves, StepWithTwoKeysHoldsTheFirstValueUntilTheSecondKey) {
  const TrackCurves curves = BuildTrackCurves(ScalarTrack(Interpolation::Step, {0, 10}));
  ASSERT_EQ(curves.SlotCount(), 1);
  EXPECT_EQ(CurveAs<PointCurve>(curves, 0).CurveKind(), PointCurve::Kind::Step);
  EXPECT_EQ(curves.Find(0)->Evaluate(2400.0 / 4800.0).x, 0.0);
  EXPECT_EQ(curves.Find(0)->Evaluate(1.0).x, 10.0);
}

TEST(BuildTrackCurves, StepWithThreeKeysHoldsBetweenKeys) {
  const TrackCurves curves = BuildTrackCurves(ScalarTrack(Interpolation::Step, {1, 2, 3}));
  EXPECT_EQ(curves.Find(0)->Evaluate(0.4).x, 1.0);
  EXPECT_EQ(curves.Find(0)->Evaluate(0.6).x, 2.0);
}

TEST(BuildTrackCurves, LinearInterpolatesByTime) {
  FakeTrack track(Interpolation::Linear, {{ValueType::Translation}});
  track.Key(100, {V(0, 0, 0)}).Key(200, {V(10, 20, 30)}).Key(500, {V(40, 20, 0)});
  const TrackCurves curves = BuildTrackCurves(track);
  EXPECT_EQ(CurveAs<PointCurve>(curves, 0).CurveKind(), PointCurve::Kind::Linear);
  EXPECT_EQ(curves.Find(0)->Segments().Lengths(), (std::vector<double>{100, 300, 0}));
  EXPECT_TRUE(Near(curves.Find(0)->Evaluate(0.625), {25, 20, 15}));  // time 350
}

TEST(BuildTrackCurves, CubicWithoutKeptTangentsUsesNeighbourDifferences) {
  const TrackCurves curves = BuildTrackCurves(ScalarTrack(Interpolation::Cubic, {0, 10, 0}));
  const HermiteCurve& curve = CurveAs<HermiteCurve>(curves, 0);
  EXPECT_EQ(curve.Stride(), 2);
  ASSERT_EQ(curve.Records().size(), 6u);
  EXPECT_EQ(curve.Records()[1].x, 10.0);
  EXPECT_EQ(curve.Records()[3].x, 0.0);
  EXPECT_EQ(curve.Records()[5].x, -10.0);
  EXPECT_EQ(curve.Evaluate(0.5).x, 10.0);
}

TEST(BuildTrackCurves, CubicTangentsAreNotHalvedAndHaveNoW) {
  FakeTrack track(Interpolation::Cubic, {{ValueType::Color}});
  track.Key(0, {{{0, 0, 0, 7}, {}, {}}}).Key(10, {{{1, 2, 3, 7}, {}, {}}}).Key(20, {{{4, 4, 4, 7}, {}, {}}});
  const TrackCurves curves = BuildTrackCurves(track);
  const HermiteCurve& curve = CurveAs<HermiteCurve>(curves, 0);
  EXPECT_EQ(curve.Records()[3], (ParamValue{4, 4, 4, 0}));
  EXPECT_EQ(curve.Records()[2], (ParamValue{1, 2, 3, 7}));
}

TEST(BuildTrackCurves, CubicWithUneditedKeptTangentsEasesThroughEveryKey) {
  const TrackCurves curves = BuildTrackCurves(ScalarTrack(Interpolation::Cubic, {0, 10, 4}, true));
  const HermiteCurve& curve = CurveAs<HermiteCurve>(curves, 0);
  EXPECT_EQ(curve.Stride(), 4);
  EXPECT_EQ(curve.Records().size(), 8u);
  EXPECT_DOUBLE_EQ(curve.SampleAt(0.25).position.x, 5.0);
  EXPECT_DOUBLE_EQ(curve.SampleAt(0.75).position.x, 7.0);
  EXPECT_NEAR(curve.SampleAt(0.5 - 1e-9).derivative.x, 0.0, 1e-6);
  EXPECT_NEAR(curve.SampleAt(0.5 + 1e-9).derivative.x, 0.0, 1e-6);
}

TEST(BuildTrackCurves, CubicUsesTheOutgoingThenIncomingTangents) {
  FakeTrack track(Interpolation::Cubic, {{ValueType::Scalar, true}});
  track.Key(0, {{{1, 0, 0, 0}, {-99, 0, 0, 0}, {2, 0, 0, 0}}});
  track.Key(10, {{{3, 0, 0, 0}, {4, 0, 0, 0}, {-99, 0, 0, 0}}});
  const TrackCurves curves = BuildTrackCurves(track);
  const HermiteCurve& curve = CurveAs<HermiteCurve>(curves, 0);
  EXPECT_EQ(curve.Records(),
            (std::vector<ParamValue>{{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}));
}

TEST(BuildTrackCurves, CubicWithOneKeyIsConstant) {
  const TrackCurves curves = BuildTrackCurves(ScalarTrack(Interpolation::Cubic, {6}));
  EXPECT_EQ(CurveAs<PointCurve>(curves, 0).Points().size(), 1u);
  EXPECT_EQ(curves.Find(0)->Evaluate(0.5).x, 6.0);
}

TEST(BuildTrackCurves, PairBlendLeavesPointLikeParametersWithoutCurves) {
  FakeTrack track(Interpolation::PairBlend, {{ValueType::Scale}, {ValueType::EulerRotation}});
  track.Key(0, {V(1), V(0)}).Key(10, {V(2), V(90)});
  const TrackCurves curves = BuildTrackCurves(track);
  ASSERT_EQ(curves.SlotCount(), 2);
  EXPECT_EQ(curves.Find(0), nullptr);
  EXPECT_NE(dynamic_cast<const RotationCurve*>(curves.Find(1)), nullptr);
}

TEST(BuildTrackCurves, RotationsStepOverAnglesOrTurnSpherically) {
  for (ValueType type : {ValueType::EulerRotationAlt, ValueType::EulerRotation}) {
    FakeTrack stepped(Interpolation::Step, {{type, true}});
    stepped.Key(0, {V(0, 0, 0)}).Key(10, {V(0, 0, 100)}).Key(20, {V(0, 0, 200)});
    EXPECT_EQ(CurveAs<PointCurve>(BuildTrackCurves(stepped), 0).CurveKind(), PointCurve::Kind::Step);

    for (Interpolation kind : {Interpolation::Linear, Interpolation::Cubic}) {
      FakeTrack turned(kind, {{type, true}});
      turned.Key(0, {V(0, 0, 0)}).Key(10, {V(0, 0, 90)});
      const TrackCurves curves = BuildTrackCurves(turned);
      EXPECT_NE(dynamic_cast<const RotationCurve*>(curves.Find(0)), nullptr);
      EXPECT_TRUE(Near(curves.Find(0)->Evaluate(0.5), {0, 0, 45}, 1e-12));
    }
  }
}

TEST(BuildTrackCurves, ParametersWithoutValuesGetEmptySlots) {
  FakeTrack track(Interpolation::Linear, {{ValueType::None}, {ValueType::NoChannel}, {ValueType::Vector}});
  track.Key(0, {V(0), V(0), V(1)}).Key(10, {V(0), V(0), V(2)});
  const TrackCurves curves = BuildTrackCurves(track);
  ASSERT_EQ(curves.SlotCount(), 3);
  EXPECT_EQ(curves.Find(0), nullptr);
  EXPECT_EQ(curves.Find(1), nullptr);
  EXPECT_NE(curves.Find(2), nullptr);
  EXPECT_EQ(curves.Find(3), nullptr);
  EXPECT_EQ(curves.Find(-1), nullptr);
}

TEST(BuildTrackCurves, KeysAtTheSameTimeGiveTheEarlierValue) {
  FakeTrack track(Interpolation::Linear, {{ValueType::Scalar}});
  track.Key(0, {V(1)}).Key(0, {V(2)}).Key(0, {V(3)});
  EXPECT_EQ(BuildTrackCurves(track).Find(0)->Evaluate(0.5).x, 1.0);
}

TEST(BuildTrackCurves, DecreasingKeyTimesOrUnknownKindAreRefused) {
  FakeTrack backwards(Interpolation::Linear, {{ValueType::Scalar}});
  backwards.Key(10, {V(1)}).Key(5, {V(2)});
  EXPECT_THROW(BuildTrackCurves(backwards), std::invalid_argument);
  EXPECT_THROW(BuildTrackCurves(ScalarTrack(static_cast<Interpolation>(4), {1, 2})), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra::keyframe
