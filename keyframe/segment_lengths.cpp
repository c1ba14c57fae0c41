#include "keyframe/segment_lengths.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace lumetra::keyframe {

SegmentLengths::SegmentLengths(std::vector<double> lengths) : lengths_(std::move(lengths)) {
  // Summed in the same order as FindSegment walks, so that u = 1 reaches the
  // last segment exactly.
  for (double length : lengths_) total_ += length;
}

SegmentPosition FindSegment(const SegmentLengths& segments, double u) {
  const double target = u * segments.Total();
  double sum = 0.0;
  for (int k = 0; k < segments.Count(); ++k) {
    const double length = segments.Lengths()[static_cast<std::size_t>(k)];
    sum += length;
    if (sum >= target) return {k, length > 0.0 ? 1.0 - (sum - target) / length : 0.0};
  }
  return {segments.Count(), 0.0};
}

void CheckKeyGaps(const std::vector<double>& keyGaps, std::size_t keyCount) {
  const std::size_t expected = keyCount == 0 ? 0 : keyCount - 1;
  if (keyGaps.size() != expected) {
    throw std::invalid_argument("a curve over " + std::to_string(keyCount) + " keys needs " +
                                std::to_string(expected) + " key gaps, got " +
                                std::to_string(keyGaps.size()));
  }
}

}  // namespace lumetra::keyframe
