// Noise, crackle and ripples pinned to values worked out from their definitions alone, by
// texture/testdata/pattern_values.py, so that a misreading the engine shares with the
// reference code of the other tests cannot pass.
#include <gtest/gtest.h>

#include "texture/crackle.h"
#include "texture/noise.h"
#include "texture/pattern.h"
#include "texture/wave_sources.h"

namespace lumetra::texture {
namespace {

constexpr double kTolerance = 1e-12;

struct Pinned {
  math::Vector3 p;
  double noise, crackle, ripples;
};

const Pinned kPinned[] = {
    {{0.5, 0.25, 0.125}, -0.09966545892089212, 0.07157030740434056, 0.24126176901606788},
    {{1.7, -2.3, 3.9}, -0.29608339387618954, 0.054218506499771224, 0.6161058224819775},
    {{-4.2, 7.7, 0.01}, 0.19262987073879317, 0.2938570704864586, 0.09038989914945827},
};

TEST(PinnedValues, NoiseCrackleAndRipplesMatchTheValuesWorkedOutFromTheirDefinitions) {
  NoiseParams shaping;
  shaping.frequency = 1.5;
  shaping.phase = 0.2;
  for (const Pinned& pinned : kPinned) {
    SCOPED_TRACE(::testing::Message() << pinned.p.x << " " << pinned.p.y << " " << pinned.p.z);
    EXPECT_NEAR(Noise(pinned.p), pinned.noise, kTolerance);
    EXPECT_NEAR(Crackle(pinned.p), pinned.crackle, kTolerance);
    math::Vector3 p = pinned.p;
    EXPECT_NEAR(PatternValue(PatternId::kRipples, p, shaping, {}), pinned.ripples, kTolerance);
  }
  const WaveSources& sources = GetWaveSources();
  EXPECT_NEAR(sources[0].centre.x, 0.9997016301342079, kTolerance);
  EXPECT_NEAR(sources[0].centre.y, 0.022378457219412565, kTolerance);
  EXPECT_NEAR(sources[0].centre.z, 0.009790575033492998, kTolerance);
  EXPECT_NEAR(sources[0].size, 0.9272643208105716, kTolerance);
}

}  // namespace
}  // namespace lumetra::texture
