#pragma once

#include <cstdint>

namespace lumetra::texture {

// The internal pattern numbers. The host's sub-kinds 0..25 map onto them with 2 left out.
enum class PatternId : std::int32_t {
  kAgate = 0,
  kBozo = 1,
  kUnused = 2,
  kCrackle = 3,
  kGradient = 4,
  kGranite = 5,
  kLeopard = 6,
  kMandel = 7,
  kMarble = 8,
  kOnion = 9,
  kRadial = 10,
  kSpiral1 = 11,
  kSpiral2 = 12,
  kSpotted = 13,
  kWood = 14,
  kBumps = 15,
  kRipples = 16,
  kDents = 17,
  kWaves = 18,
  kWrinkles = 19,
  kQuilted = 20,
  kAverage = 21,
  kBoxed = 22,
  kCylindrical = 23,
  kPlanar = 24,
  kSpherical = 25,
  kDensityFile = 26,
};

// Sub-kind 0 and 1 stay, 2..25 become n + 1; any other writes "Unknown noise pattern\n"
// to the debug log and gives agate.
PatternId PatternIdFromSubKind(std::int32_t subKind);

}  // namespace lumetra::texture
