#pragma once

#include <numbers>

namespace lumetra::math {

// The host gives Euler angles in degrees; these are the exact factors used to
// convert them, so that round trips match the rest of the system bit for bit.
inline constexpr double kDegreesToRadians = std::numbers::pi / 180;
inline constexpr double kRadiansToDegrees = 180 / std::numbers::pi;

}  // namespace lumetra::math
