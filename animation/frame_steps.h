#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace lumetra::animation {

// One frame of an animation: its time in ticks and its index in the movie.
struct Frame {
  int32_t time;
  int32_t index;
};

// The frames from `start` to `end` inclusive at numerator / denominator frames per
// second: one every 4800 * denominator / numerator ticks (whole ticks), indexed from
// start / step so that a movie starting later leaves its first positions empty. With
// `dropLast` a frame that falls exactly on the end time is left out (unless it is the
// only one), so that a looping animation does not show its first picture twice.
// Nothing when the rate gives no whole positive step.
std::optional<std::vector<Frame>> FrameSteps(int32_t start, int32_t end, int32_t numerator,
                                             int32_t denominator, bool dropLast);

// Ticks between frames at numerator / denominator frames per second; 0 when there is
// no whole positive step.
int32_t FrameStep(int32_t numerator, int32_t denominator);

}  // namespace lumetra::animation
