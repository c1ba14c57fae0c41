// Evaluation speed of the key curves over a 100-key track, and of composing
// transforms; each reports evaluations per second as items_per_second.
#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "keyframe/key_track.h"
#include "keyframe/track_curves.h"
#include "math/transform.h"

namespace lumetra {
namespace {

constexpr int kKeys = 100;
constexpr int kFractions = 1024;

// One parameter of one type over 100 keys with random values and gaps.
class BenchTrack final : public keyframe::KeyTrack {
 public:
  BenchTrack(keyframe::Interpolation kind, keyframe::ValueType type) : kind_(kind), type_(type) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> value(-180.0, 180.0);
    std::uniform_int_distribution<std::int32_t> gap(40, 800);
    std::int32_t time = 0;
    for (int k = 0; k < kKeys; ++k) {
      times_.push_back(time);
      time += gap(random);
      values_.push_back({value(random), value(random), value(random), 0.0});
    }
  }

  int KeyCount() const override { return kKeys; }
  std::int32_t KeyTime(int key) const override { return times_[static_cast<std::size_t>(key)]; }
  keyframe::Interpolation InterpolationKind() const override { return kind_; }
  int ParamCount() const override { return 1; }
  keyframe::ValueType ParamType(int) const override { return type_; }
  bool HasTangents(int) const override { return false; }
  keyframe::KeyParam Param(int key, int) const override {
    return {values_[static_cast<std::size_t>(key)], {}, {}};
  }

 private:
  keyframe::Interpolation kind_;
  keyframe::ValueType type_;
  std::vector<std::int32_t> times_;
  std::vector<keyframe::ParamValue> values_;
};

// Evaluates the track's curve at fractions spread over its whole length.
void EvaluateCurve(benchmark::State& state, keyframe::Interpolation kind, keyframe::ValueType type) {
  const keyframe::TrackCurves curves = keyframe::BuildTrackCurves(BenchTrack(kind, type));
  const keyframe::Curve* curve = curves.Find(0);
  if (curve == nullptr) throw std::logic_error("the benchmark track built no curve");
  std::vector<double> fractions;
  std::mt19937 random(2);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < kFractions; ++i) fractions.push_back(unit(random));

  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curve->Evaluate(fractions[i]));
    i = (i + 1) % fractions.size();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_PointCurveLinear(benchmark::State& state) {
  EvaluateCurve(state, keyframe::Interpolation::Linear, keyframe::ValueType::Translation);
}
BENCHMARK(BM_PointCurveLinear);

// Cubic without kept tangents: a stride-2 HermiteCurve.
void BM_HermiteCurve(benchmark::State& state) {
  EvaluateCurve(state, keyframe::Interpolation::Cubic, keyframe::ValueType::Translation);
}
BENCHMARK(BM_HermiteCurve);

void BM_RotationCurve(benchmark::State& state) {
  EvaluateCurve(state, keyframe::Interpolation::Linear, keyframe::ValueType::EulerRotation);
}
BENCHMARK(BM_RotationCurve);

void BM_TransformCompose(benchmark::State& state) {
  math::Transform scale, rotate, move;
  scale.Scale({2.0, -1.5, 0.5});
  rotate.RotateEuler(0.3, -1.1, 2.0);
  move.Translate({1.0, 2.0, 3.0});
  for (auto _ : state) {
    math::Transform whole = scale;
    whole.Compose(rotate);
    whole.Compose(move);
    benchmark::DoNotOptimize(whole);
  }
  state.SetItemsProcessed(2 * state.iterations());  // two compositions per iteration
}
BENCHMARK(BM_TransformCompose);

}  // namespace
}  // namespace lumetra
