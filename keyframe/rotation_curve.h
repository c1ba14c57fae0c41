#pragma once

#include <vector>

#include "keyframe/curve.h"
#include "keyframe/param_value.h"
#include "math/quaternion.h"

namespace lumetra::keyframe {

// Spherical interpolation of Euler-angle keys: each key's angles (degrees) are
// turned into a unit quaternion once, neighbouring keys are joined by Slerp and
// the result is turned back into Euler degrees.
class RotationCurve final : public Curve {
 public:
  // One angle triple per key (x, y, z in degrees) and the n - 1 time
  // differences between the keys. Throws std::invalid_argument when the counts
  // disagree.
  RotationCurve(const std::vector<ParamValue>& eulerDegrees, const std::vector<double>& keyGaps);

  // Euler degrees at u; with no keys (0, 0, 0).
  math::Vector3 EvaluateIn(double u, const SegmentPosition& at) const override;

  const std::vector<math::Quaternion>& Rotations() const { return rotations_; }

 private:
  std::vector<math::Quaternion> rotations_;
};

}  // namespace lumetra::keyframe
