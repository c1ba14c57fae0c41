#pragma once

#include <memory>
#include <vector>

#include "keyframe/curve.h"
#include "keyframe/key_track.h"

namespace lumetra::keyframe {

// One curve slot per parameter of a track; a slot is empty where the
// parameter's keys are blended pairwise during evaluation instead.
class TrackCurves {
 public:
  TrackCurves() = default;
  explicit TrackCurves(std::vector<std::unique_ptr<Curve>> slots) : slots_(std::move(slots)) {}

  int SlotCount() const { return static_cast<int>(slots_.size()); }
  void Prefetch() const { __builtin_prefetch(slots_.data()); }
  void PrefetchCurves() const {
    for (const auto& slot : slots_) __builtin_prefetch(slot.get());
  }
  // The curve of parameter `param`, or null for an empty or missing slot.
  const Curve* Find(int param) const {
    return param >= 0 && param < SlotCount() ? slots_[static_cast<std::size_t>(param)].get() : nullptr;
  }

 private:
  std::vector<std::unique_ptr<Curve>> slots_;
};

// Builds the curves of a track from its keys; the track replaces its old
// curves with the result after every change of its keys or interpolation kind.
// Per parameter, by value type and the track's interpolation kind:
// - scalars, vectors, colours, scales, translations: Step and Linear give a
//   PointCurve; Cubic a HermiteCurve (stride 4 with the keys' own tangents,
//   stride 2 with tangents V(k+1) - V(k-1), one-sided at the ends), or a
//   PointCurve over a single key; PairBlend no curve;
// - Euler rotations: Step gives a step PointCurve over the angles, every
//   other kind a RotationCurve;
// - any other type: no curve.
// No keys or no parameters give no slots. Throws std::invalid_argument when
// key times decrease or the interpolation kind is unknown.
TrackCurves BuildTrackCurves(const KeyTrack& track);

}  // namespace lumetra::keyframe
