#pragma once

#include <cstdint>

namespace lumetra::keyframe {

// Interpolation kind of a track, as the control bar's "Step", "Linear", "Cubic"
// box sets it.
enum class Interpolation : std::int32_t {
  Step = 0,
  Linear = 1,
  Cubic = 2,
  // Found only in scene files: rotations get a rotation curve, every other
  // parameter no curve, so evaluation blends each pair of neighbouring keys.
  PairBlend = 3,
};

}  // namespace lumetra::keyframe
