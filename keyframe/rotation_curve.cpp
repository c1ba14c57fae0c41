#include "keyframe/rotation_curve.h"

namespace lumetra::keyframe {

namespace {

SegmentLengths CheckedSegments(const std::vector<double>& keyGaps, std::size_t keyCount) {
  CheckKeyGaps(keyGaps, keyCount);
  return SegmentLengths(keyGaps);
}

}  // namespace

RotationCurve::RotationCurve(const std::vector<ParamValue>& eulerDegrees, const std::vector<double>& keyGaps)
    : Curve(CheckedSegments(keyGaps, eulerDegrees.size())) {
  rotations_.reserve(eulerDegrees.size());
  for (const ParamValue& angles : eulerDegrees)
    rotations_.push_back(math::Quaternion::FromEulerDegrees(angles.Xyz()));
}

math::Vector3 RotationCurve::EvaluateIn(double u, const SegmentPosition& at) const {
  const std::size_t n = rotations_.size();
  if (n == 0) return {};
  u = ClampFraction(u);
  if (n == 1 || u <= 0.0) return rotations_.front().ToEulerDegrees();
  if (u >= 1.0) return rotations_.back().ToEulerDegrees();
  if (n == 2) return math::Slerp(rotations_[0], rotations_[1], u).ToEulerDegrees();
  const auto k = static_cast<std::size_t>(at.index);
  return math::Slerp(rotations_[k], rotations_[k + 1], at.fraction).ToEulerDegrees();
}

}  // namespace lumetra::keyframe
