#include "texture/noise_tables.h"

#include <utility>

#include "texture/random.h"

namespace lumetra::texture {
namespace {

double RandomGradientComponent() { return ((Rand() & 0xFFF) - 2048) / 2048.0; }

// A random direction inside the unit ball, normalised; draws again outside the ball.
math::Vector3 RandomGradient() {
  for (;;) {
    math::Vector3 v;
    v.x = RandomGradientComponent();
    v.y = RandomGradientComponent();
    v.z = RandomGradientComponent();
    const double squared = math::Dot(v, v);
    if (squared == 0.0) return {1.0, 0.0, 0.0};
    const double length = std::sqrt(squared);
    if (length <= 1.0) return {v.x / length, v.y / length, v.z / length};
  }
}

void BuildTables(NoiseTables& tables) {
  Seed(1);
  for (int i = 0; i < kNoiseSize; ++i) tables.gradient[i] = RandomGradient();
  for (int i = 0; i < kNoiseSize; ++i) tables.permutation[i] = i;
  // Every second index from the top down; the first swap moves the still-zero slot 2048.
  for (int i = kNoiseSize; i > 0; i -= 2) {
    std::swap(tables.permutation[i], tables.permutation[Rand() % kNoiseSize]);
  }
  for (int i = 0; i < kNoiseSize + 2; ++i) {
    tables.permutation[kNoiseSize + i] = tables.permutation[i];
    tables.gradient[kNoiseSize + i] = tables.gradient[i];
  }
}

}  // namespace

const NoiseTables& GetNoiseTables() {
  // A function-local static: after the first call its guard costs one load, where call_once
  // would go through thread-local state on every one of the millions of noise lookups.
  static const NoiseTables tables = [] {
    NoiseTables built;
    BuildTables(built);
    return built;
  }();
  return tables;
}

}  // namespace lumetra::texture
