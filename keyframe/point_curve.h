#pragma once

#include <cstdint>
#include <vector>

#include "keyframe/curve.h"
#include "keyframe/param_value.h"

namespace lumetra::keyframe {

// Step or straight-line interpolation of key values; x, y and z are
// interpolated, w is carried along.
class PointCurve final : public Curve {
 public:
  enum class Kind : std::int32_t { Step = 2, Linear = 3 };

  // `keyGaps` holds the n - 1 time differences between the n points; the curve
  // adds a closing length 0 for the last point. Throws std::invalid_argument
  // when the counts disagree.
  PointCurve(Kind kind, std::vector<ParamValue> points, const std::vector<double>& keyGaps);

  // A step holds each point's value until the next point, however many there are; a
  // linear curve blends the two points around u.
  math::Vector3 EvaluateIn(double u, const SegmentPosition& at) const override;

  Kind CurveKind() const { return kind_; }
  const std::vector<ParamValue>& Points() const { return points_; }

 private:
  Kind kind_;
  std::vector<ParamValue> points_;
};

}  // namespace lumetra::keyframe
