#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "abi/time_base.h"

namespace lumetra::keyframe {

// Every time in the system (key times, the current time, the animation range,
// frame times) is a signed 32-bit count of ticks.
inline constexpr std::int32_t kTicksPerSecond = abi::kTicksPerSecond;

// Answer of TicksPerFrame when the rate gives no usable frame length.
inline constexpr std::int32_t kNoFrameLength = -1;

// Frame-rate choices, in the order of the frame-rate box.
enum class FrameRate : std::int32_t {
  Fps10 = 0,
  Fps15 = 1,
  Fps24 = 2,
  Fps25 = 3,
  Fps30 = 4,
  Ntsc = 5,  // runs at 60 frames per second, like Fps60
  Fps60 = 6,
  Custom = abi::kCustomFrameRateChoice,  // numerator / denominator frames per second
};

// Frames per second of the fixed choices as numerator and denominator (NTSC 5994/100);
// nothing for Custom and indices outside 0..7.
std::optional<std::pair<std::int32_t, std::int32_t>> FrameRateFraction(std::int32_t rateIndex);

// Ticks of one frame at the rate `rateIndex`; numerator and denominator matter
// only for Custom, whose frame lasts denominator * 4800 / numerator ticks
// (integer division). Returns kNoFrameLength for an index outside 0..7 and for a
// custom fraction that has no whole positive frame length: a numerator or
// denominator that is not positive (so a numerator of 0 never reaches the
// division), more than 4800 frames per second, or a frame longer than the tick
// range.
std::int32_t TicksPerFrame(std::int32_t rateIndex, std::int32_t numerator, std::int32_t denominator);

}  // namespace lumetra::keyframe
