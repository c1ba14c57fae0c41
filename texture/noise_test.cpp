#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "texture/noise.h"
#include "texture/noise_tables.h"
#include "texture/random.h"
#include "texture/testing/reference_noise.h"

namespace lumetra::texture {
namespace {

const math::Vector3 kProbes[] = {{0.5, 0.25, 0.125},
                                 {1.7, -2.3, 3.9},
                                 {-0.01, 0.99, -5.5},
                                 {123.456, -78.9, 0.001},
                                 {2047.5, 2048.25, -2049.75},
                                 {-1e6 + 0.3, 1e6 + 0.7, 0.5},
                                 {0.0, 0.0, 0.0}};

TEST(Random, FollowsTheRuntimeSequenceAndReseeds) {
  Seed(1);
  // The first values of this generator from seed 1 are well known: 41, 18467, 6334.
  EXPECT_EQ(Rand(), 41);
  EXPECT_EQ(Rand(), 18467);
  EXPECT_EQ(Rand(), 6334);
  Seed(42);
  const std::uint32_t s = 42u * 214013u + 2531011u;
  EXPECT_EQ(Rand(), static_cast<std::int32_t>((s >> 16) & 0x7FFF));
  Seed(42);
  EXPECT_EQ(RandUnit(), ((s >> 16) & 0x7FFF) * 3.051850947599719e-05);
}

TEST(Random, EachThreadHasItsOwnSeed) {
  Seed(5);
  int fromOtherThread = -1;
  std::thread other([&] {
    Seed(7);
    fromOtherThread = Rand();
  });
  other.join();
  reference::Generator five, seven;
  five.state = 5;
  seven.state = 7;
  EXPECT_EQ(Rand(), five.Next());
  EXPECT_EQ(fromOtherThread, seven.Next());
}

TEST(NoiseTables, MatchTheShuffledLatticeFromSeedOne) {
  const NoiseTables& tables = GetNoiseTables();
  const reference::Tables& expected = reference::GetTables();
  for (int i = 0; i < kNoiseTableLength; ++i) {
    ASSERT_EQ(tables.permutation[i], expected.p[i]) << i;
    ASSERT_EQ(tables.gradient[i].x, expected.g[i * 3]) << i;
    ASSERT_EQ(tables.gradient[i].y, expected.g[i * 3 + 1]) << i;
    ASSERT_EQ(tables.gradient[i].z, expected.g[i * 3 + 2]) << i;
  }
  // The gradients are unit vectors.
  EXPECT_NEAR(math::Length(tables.gradient[17]), 1.0, 1e-15);
}

TEST(NoiseTables, ThreadsRacingOnFirstUseShareOneTable) {
  // Run alone (ctest gives every test its own process), the threads race to build.
  std::vector<const NoiseTables*> seen(8, nullptr);
  std::vector<double> values(8, 0.0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      values[t] = Noise({0.3, 1.6, 2.2});
      seen[t] = &GetNoiseTables();
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 8; ++t) {
    EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(values[t], reference::Noise(0.3, 1.6, 2.2));
  }
}

TEST(Noise, MatchesTheLatticeFormula) {
  for (const math::Vector3& p : kProbes) {
    EXPECT_NEAR(Noise(p), reference::Noise(p.x, p.y, p.z), 1e-14) << p.x << " " << p.y;
  }
}

TEST(Noise, VanishesAtLatticePointsAndStaysInRange) {
  EXPECT_EQ(Noise({3.0, -4.0, 5.0}), 0.0);
  double lowest = 0.0, highest = 0.0;
  for (int i = 0; i < 2000; ++i) {
    const double n = Noise({i * 0.137, i * 0.291, i * -0.071});
    lowest = std::min(lowest, n);
    highest = std::max(highest, n);
  }
  EXPECT_GT(lowest, -1.5);
  EXPECT_LT(highest, 1.5);
  EXPECT_LT(lowest, -0.2);
  EXPECT_GT(highest, 0.2);
}

TEST(Noise, NonFiniteAndHugeCoordinatesDoNotCrash) {
  EXPECT_TRUE(std::isfinite(Noise({1e300, -1e300, 3.5})));
  (void)Noise({std::nan(""), 0.5, 0.5});
}

TEST(VectorNoise, BlendsTheCornerGradients) {
  for (const math::Vector3& p : kProbes) {
    double expected[3];
    reference::VectorNoise(p.x, p.y, p.z, expected);
    const math::Vector3 v = VectorNoise(p);
    EXPECT_NEAR(v.x, expected[0], 1e-14);
    EXPECT_NEAR(v.y, expected[1], 1e-14);
    EXPECT_NEAR(v.z, expected[2], 1e-14);
  }
}

TEST(Turbulence, SumsWeightedOctavesOfClampedNoise) {
  const math::Vector3 p{0.7, 1.3, -2.2};
  EXPECT_EQ(Turbulence(p, 2.0, 0.5, 0), 0.0);
  EXPECT_EQ(Turbulence(p, 2.0, 0.5, -3), 0.0);
  EXPECT_NEAR(Turbulence(p, 2.0, 0.5, 1), reference::Clamped(p.x, p.y, p.z), 1e-15);
  EXPECT_NEAR(Turbulence(p, 2.0, 0.5, 1), ClampedNoise(p), 0.0);
  EXPECT_NEAR(Turbulence(p, 2.5, 0.6, 5), reference::Turbulence(p.x, p.y, p.z, 2.5, 0.6, 5), 1e-14);
}

TEST(VectorTurbulence, AddsFurtherOctavesToTheFirst) {
  const math::Vector3 p{-3.1, 0.45, 7.7};
  double expected[3];
  reference::VectorTurbulence(p.x, p.y, p.z, 2.0, 0.5, 4, expected);
  const math::Vector3 v = VectorTurbulence(p, 2.0, 0.5, 4);
  EXPECT_NEAR(v.x, expected[0], 1e-14);
  EXPECT_NEAR(v.y, expected[1], 1e-14);
  EXPECT_NEAR(v.z, expected[2], 1e-14);
  // Octaves below 2 give the plain vector noise.
  EXPECT_EQ(VectorTurbulence(p, 2.0, 0.5, 0), VectorNoise(p));
}

}  // namespace
}  // namespace lumetra::texture
