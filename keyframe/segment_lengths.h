#pragma once

#include <cstddef>
#include <vector>

namespace lumetra::keyframe {

// Where a curve fraction falls: segment `index` at local fraction `fraction`.
struct SegmentPosition {
  int index = 0;
  double fraction = 0.0;
};

// The time lengths of a curve's segments, in ticks, and their total.
class SegmentLengths {
 public:
  SegmentLengths() = default;
  explicit SegmentLengths(std::vector<double> lengths);

  const std::vector<double>& Lengths() const { return lengths_; }
  int Count() const { return static_cast<int>(lengths_.size()); }
  double Total() const { return total_; }

 private:
  std::vector<double> lengths_;
  double total_ = 0.0;
};

// The segment that holds u * total: the first whose running sum reaches it, with
// the fraction of the way through it. A zero-length segment (keys sharing a
// time) gives fraction 0. When no segment reaches it (u above 1), the index is
// Count() and the fraction 0.
SegmentPosition FindSegment(const SegmentLengths& segments, double u);

// Throws std::invalid_argument unless `keyGaps` holds one time difference for
// each pair of neighbouring keys among `keyCount` keys.
void CheckKeyGaps(const std::vector<double>& keyGaps, std::size_t keyCount);

}  // namespace lumetra::keyframe
