#pragma once

#include <array>

#include "math/vector3.h"

namespace lumetra::texture {

// A centre on the unit sphere and a size, for the ripples and waves patterns and normals.
struct WaveSource {
  math::Vector3 centre;
  double size = 0.0;
};

inline constexpr int kWaveSourceCount = 10;
using WaveSources = std::array<WaveSource, kWaveSourceCount>;

// Draws the sources from the pattern generator seeded with 42 (reseeds this thread's
// generator).
WaveSources MakeWaveSources();

// The sources every ripples and waves evaluation reads. They depend on nothing but the
// fixed seed, so they are drawn once per process and shared read-only by all threads.
const WaveSources& GetWaveSources();

}  // namespace lumetra::texture
