#include "keyframe/hermite_curve.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace lumetra::keyframe {

namespace {

// Hermite basis: rows for s^3, s^2, s, 1; columns for value 0, tangent 0,
// value 1, tangent 1.
constexpr double kBasis[4][4] = {
    {2, 1, -2, 1},
    {-3, -2, 3, -1},
    {0, 1, 0, 0},
    {1, 0, 0, 0},
};

// The four record weights for the powers (s^3, s^2, s, 1), or their derivatives.
std::array<double, 4> Weights(const std::array<double, 4>& powers) {
  std::array<double, 4> weights{};
  for (int j = 0; j < 4; ++j) {
    for (int row = 0; row < 4; ++row) weights[j] += powers[row] * kBasis[row][j];
  }
  return weights;
}

std::size_t RecordCountFor(int stride, std::size_t gapCount) {
  if (stride == 2) return 2 * (gapCount + 1);
  if (stride == 4) return 4 * gapCount;
  throw std::invalid_argument("Hermite curve stride must be 2 or 4, not " + std::to_string(stride));
}

SegmentLengths CheckedSegments(int stride, std::size_t recordCount, const std::vector<double>& keyGaps) {
  const std::size_t expected = RecordCountFor(stride, keyGaps.size());
  if (recordCount != expected) {
    throw std::invalid_argument("Hermite curve with stride " + std::to_string(stride) + " over " +
                                std::to_string(keyGaps.size()) + " key gaps needs " +
                                std::to_string(expected) + " records, got " + std::to_string(recordCount));
  }
  return SegmentLengths(keyGaps);
}

}  // namespace

HermiteCurve::HermiteCurve(int stride, std::vector<ParamValue> records, const std::vector<double>& keyGaps)
    : Curve(CheckedSegments(stride, records.size(), keyGaps)),
      stride_(stride),
      records_(std::move(records)) {}

HermiteCurve::Sample HermiteCurve::SampleIn(double u, const SegmentPosition& at) const {
  const std::size_t count = records_.size();
  if (count < 2) return {{}, {1.0, 0.0, 0.0}};
  u = ClampFraction(u);
  if (count == 2 || u <= 0.0) return {records_[0].Xyz(), records_[1].Xyz()};
  if (u >= 1.0) return {records_[count - 2].Xyz(), records_[count - 1].Xyz()};

  const double s = at.fraction;
  const std::array<double, 4> weights = Weights({s * s * s, s * s, s, 1.0});
  const std::array<double, 4> slopes = Weights({3.0 * s * s, 2.0 * s, 1.0, 0.0});
  const std::size_t first = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(at.index);
  Sample sample;
  for (std::size_t j = 0; j < 4; ++j) {
    const math::Vector3 record = records_[first + j].Xyz();
    sample.position = sample.position + record * weights[j];
    sample.derivative = sample.derivative + record * slopes[j];
  }
  return sample;
}

}  // namespace lumetra::keyframe
