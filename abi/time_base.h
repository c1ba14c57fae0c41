#pragma once

#include <array>
#include <cstdint>

namespace lumetra::abi {

// Every time either side hands over (key times, an animation run's start and end) is a
// signed 32-bit count of ticks.
inline constexpr int32_t kTicksPerSecond = 4800;

// The animation settings' frame-rate choices 0..6 as frames per second; choice 7 takes
// its own fraction.
struct FrameRateFraction {
  int32_t numerator;
  int32_t denominator;
};
inline constexpr std::array<FrameRateFraction, 7> kFrameRateChoices{
    {{10, 1}, {15, 1}, {24, 1}, {25, 1}, {30, 1}, {5994, 100}, {60, 1}}};
inline constexpr int32_t kCustomFrameRateChoice = 7;

}  // namespace lumetra::abi
