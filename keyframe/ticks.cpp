#include "keyframe/ticks.h"

#include <array>
#include <limits>

namespace lumetra::keyframe {

namespace {

constexpr std::array<std::int32_t, 7> kFixedRateFrameTicks = {480, 320, 200, 192, 160, 80, 80};

std::int32_t CustomFrameTicks(std::int32_t numerator, std::int32_t denominator) {
  if (numerator <= 0 || denominator <= 0) return kNoFrameLength;
  const std::int64_t ticks = std::int64_t{denominator} * kTicksPerSecond / numerator;
  if (ticks == 0 || ticks > std::numeric_limits<std::int32_t>::max()) return kNoFrameLength;
  return static_cast<std::int32_t>(ticks);
}

}  // namespace

std::int32_t TicksPerFrame(std::int32_t rateIndex, std::int32_t numerator, std::int32_t denominator) {
  if (rateIndex == static_cast<std::int32_t>(FrameRate::Custom))
    return CustomFrameTicks(numerator, denominator);
  if (rateIndex < 0 || rateIndex >= static_cast<std::int32_t>(kFixedRateFrameTicks.size()))
    return kNoFrameLength;
  return kFixedRateFrameTicks[static_cast<std::size_t>(rateIndex)];
}

std::optional<std::pair<std::int32_t, std::int32_t>> FrameRateFraction(std::int32_t rateIndex) {
  if (rateIndex < 0 || rateIndex >= static_cast<std::int32_t>(abi::kFrameRateChoices.size()))
    return std::nullopt;
  const abi::FrameRateFraction rate = abi::kFrameRateChoices[static_cast<std::size_t>(rateIndex)];
  return std::pair{rate.numerator, rate.denominator};
}

}  // namespace lumetra::keyframe
