#pragma once

#include <vector>

#include "keyframe/curve.h"
#include "keyframe/param_value.h"

namespace lumetra::keyframe {

// Cubic Hermite interpolation of key values with tangents. The records come in
// one of two layouts:
// - stride 2, 2n records: value and tangent of each key, so segment k reads
//   records 2k .. 2k+3 (tangents computed from the neighbouring keys);
// - stride 4, 4n - 4 records: for each segment k the value and outgoing
//   tangent of key k, then the value and incoming tangent of key k+1
//   (tangents kept with the keys).
// Tangents are per unit of the local fraction, not scaled by segment length.
class HermiteCurve final : public Curve {
 public:
  struct Sample {
    math::Vector3 position;
    math::Vector3 derivative;  // with respect to the local fraction
  };

  // `keyGaps` holds the n - 1 time differences between the keys. Throws
  // std::invalid_argument for another stride or when the counts disagree.
  HermiteCurve(int stride, std::vector<ParamValue> records, const std::vector<double>& keyGaps);

  math::Vector3 EvaluateIn(double u, const SegmentPosition& at) const override {
    return SampleIn(u, at).position;
  }
  // Position and derivative. Before the first and after the last key they are
  // the end key's value and tangent; fewer than two records give position 0
  // and derivative (1, 0, 0).
  Sample SampleAt(double u) const { return SampleIn(u, Locate(u)); }
  // The same with the segment known (see EvaluateIn).
  Sample SampleIn(double u, const SegmentPosition& at) const;

  int Stride() const { return stride_; }
  const std::vector<ParamValue>& Records() const { return records_; }

 private:
  int stride_;
  std::vector<ParamValue> records_;
};

}  // namespace lumetra::keyframe
