#pragma once

#include <array>
#include <cstdint>

#include "math/vector3.h"

namespace lumetra::texture {

// The lattice of the gradient noise: a shuffled permutation and unit gradients, both
// doubled so that a lattice index plus an offset below kNoiseSize needs no second wrap.
inline constexpr int kNoiseSize = 2048;
inline constexpr int kNoiseTableLength = kNoiseSize + kNoiseSize + 2;

struct NoiseTables {
  std::array<std::int32_t, kNoiseTableLength> permutation{};
  std::array<math::Vector3, kNoiseTableLength> gradient{};
};

// Built once per process by the first caller (any thread); read-only afterwards.
const NoiseTables& GetNoiseTables();

}  // namespace lumetra::texture
