#pragma once

#include <cstdint>

namespace lumetra::texture {

// The pattern code's own linear congruential generator. Each thread has its own seed, so a
// pattern that reseeds (crackle, the black hole warp) never disturbs another thread's
// sequence. A thread's seed starts at 1.
void Seed(std::uint32_t seed);
// s = s * 214013 + 2531011 (mod 2^32); the result is (s >> 16) & 0x7FFF.
std::int32_t Rand();

// Rand() scaled by 1/32767 into [0, 1].
double RandUnit();

inline constexpr double kRandScale = 3.051850947599719e-05;  // 1 / 32767

}  // namespace lumetra::texture
