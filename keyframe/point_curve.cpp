#include "keyframe/point_curve.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace lumetra::keyframe {

namespace {

SegmentLengths WithClosingLength(std::vector<double> keyGaps, std::size_t pointCount) {
  CheckKeyGaps(keyGaps, pointCount);
  if (pointCount > 0) keyGaps.push_back(0.0);
  return SegmentLengths(std::move(keyGaps));
}

math::Vector3 Blend(const ParamValue& a, const ParamValue& b, double s) {
  return a.Xyz() * (1.0 - s) + b.Xyz() * s;
}

}  // namespace

PointCurve::PointCurve(Kind kind, std::vector<ParamValue> points, const std::vector<double>& keyGaps)
    : Curve(WithClosingLength(keyGaps, points.size())), kind_(kind), points_(std::move(points)) {
  if (kind != Kind::Step && kind != Kind::Linear) {
    throw std::invalid_argument("unknown point curve kind " +
                                std::to_string(static_cast<std::int32_t>(kind)));
  }
}

math::Vector3 PointCurve::EvaluateIn(double u, const SegmentPosition& at) const {
  const std::size_t n = points_.size();
  if (n == 0) return {};
  if (n == 1) return points_[0].Xyz();
  u = ClampFraction(u);
  if (u <= 0.0) return points_.front().Xyz();
  if (u >= 1.0) return points_.back().Xyz();
  // A step holds each value until the next key, however few keys there are.
  if (n == 2) return kind_ == Kind::Step ? points_[0].Xyz() : Blend(points_[0], points_[1], u);
  const auto k = static_cast<std::size_t>(at.index);
  if (kind_ == Kind::Step) return points_[k].Xyz();
  return Blend(points_[k], points_[k + 1], at.fraction);
}

}  // namespace lumetra::keyframe
