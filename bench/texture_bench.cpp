// Evaluations per second of the noise and of every pattern (items_per_second). The target
// is 10 million Noise calls a second on one core.
#include <benchmark/benchmark.h>

#include <array>

#include "texture/noise.h"
#include "texture/pattern.h"

namespace lumetra {
namespace {

// Points spread over many lattice cells, walked in order as a row of shading points is.
const std::array<math::Vector3, 256>& Points() {
  static const std::array<math::Vector3, 256> points = [] {
    std::array<math::Vector3, 256> p;
    for (int i = 0; i < 256; ++i) p[i] = {i * 0.0371 - 3.0, i * 0.0113 + 0.5, 1.25 - i * 0.0057};
    return p;
  }();
  return points;
}

void BM_Noise(benchmark::State& state) {
  const auto& points = Points();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(texture::Noise(points[i++ & 255]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Noise);

void BM_VectorNoise(benchmark::State& state) {
  const auto& points = Points();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(texture::VectorNoise(points[i++ & 255]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VectorNoise);

void BM_Pattern(benchmark::State& state) {
  const auto id = static_cast<texture::PatternId>(state.range(0));
  texture::NoiseParams noise;
  noise.turbulenceOn = true;
  noise.turbulenceX = noise.turbulenceY = 0.5;
  noise.octaves = 6;
  texture::PatternParams params;
  params.agateTurbulence = 1.0f;
  params.gradientX = 1.0;
  params.mandelIterations = 32;
  params.quiltControl0 = params.quiltControl1 = 0.5f;
  params.spiralArms = 3;
  const auto& points = Points();
  std::size_t i = 0;
  for (auto _ : state) {
    math::Vector3 p = points[i++ & 255];
    benchmark::DoNotOptimize(texture::PatternValue(id, p, noise, params));
  }
  state.SetItemsProcessed(state.iterations());
  static const char* const kNames[] = {
      "agate", "bozo",     "-",       "crackle", "gradient", "granite",     "leopard", "mandel",   "marble",
      "onion", "radial",   "spiral1", "spiral2", "spotted",  "wood",        "bumps",   "ripples",  "dents",
      "waves", "wrinkles", "quilted", "average", "boxed",    "cylindrical", "planar",  "spherical"};
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Pattern)->DenseRange(0, 1)->DenseRange(3, 25);

}  // namespace
}  // namespace lumetra
