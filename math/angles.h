#pragma once

namespace lumetra::math {

// The host gives Euler angles in degrees; these are the exact factors used to
// convert them, so that round trips match the rest of the system bit for bit.
inline constexpr double kDegreesToRadians = 0.017453292519943295;
inline constexpr double kRadiansToDegrees = 57.29577951308232;

}  // namespace lumetra::math
