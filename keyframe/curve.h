#pragma once

#include <algorithm>
#include <utility>

#include "keyframe/segment_lengths.h"
#include "math/vector3.h"

namespace lumetra::keyframe {

// A curve through the keys of one track parameter, evaluated at the curve
// fraction u: 0 at the first key's time, 1 at the last key's. Curves are a
// cache built from the keys and are replaced whole when the keys change.
class Curve {
 public:
  virtual ~Curve() = default;

  // The position (x, y, z) at u. Every curve clamps u to 0..1; NaN counts as 0.
  math::Vector3 Evaluate(double u) const { return EvaluateIn(u, Locate(u)); }
  // The same where the segment holding u is known: `at` is Locate(u) of a curve
  // over the same key times. A track's curves share their key times, so
  // evaluating a whole track finds the segment once.
  virtual math::Vector3 EvaluateIn(double u, const SegmentPosition& at) const = 0;
  SegmentPosition Locate(double u) const { return FindSegment(segments_, ClampFraction(u)); }

  const SegmentLengths& Segments() const { return segments_; }

 protected:
  explicit Curve(SegmentLengths segments) : segments_(std::move(segments)) {}

  static double ClampFraction(double u) { return u > 0.0 ? std::min(u, 1.0) : 0.0; }

 private:
  SegmentLengths segments_;
};

}  // namespace lumetra::keyframe
