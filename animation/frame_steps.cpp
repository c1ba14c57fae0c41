#include "animation/frame_steps.h"

#include "keyframe/ticks.h"

namespace lumetra::animation {

int32_t FrameStep(int32_t numerator, int32_t denominator) {
  if (numerator <= 0 || denominator <= 0) return 0;
  const int64_t step = int64_t{keyframe::kTicksPerSecond} * denominator / numerator;
  return step > 0 && step <= INT32_MAX ? static_cast<int32_t>(step) : 0;
}

std::optional<std::vector<Frame>> FrameSteps(int32_t start, int32_t end, int32_t numerator,
                                             int32_t denominator, bool dropLast) {
  const int32_t step = FrameStep(numerator, denominator);
  if (step == 0) return std::nullopt;
  std::vector<Frame> frames;
  int32_t index = start / step;
  // 64-bit times, so that an end near the largest tick cannot wrap the loop round.
  for (int64_t time = start; time <= end; time += step)
    frames.push_back({static_cast<int32_t>(time), index++});
  if (dropLast && frames.size() > 1 && frames.back().time == end) frames.pop_back();
  return frames;
}

}  // namespace lumetra::animation
