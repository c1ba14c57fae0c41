#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "texture/black_hole_warp.h"
#include "texture/crackle.h"
#include "texture/repeat_warp.h"
#include "texture/testing/reference_noise.h"
#include "texture/transform_warp.h"
#include "texture/turbulence_warp.h"

namespace lumetra::texture {
namespace {

// The cell point of cell (i, j, k) drawn again from its key.
math::Vector3 ReferenceCellPoint(int i, int j, int k) {
  reference::Generator random;
  random.state = static_cast<std::uint32_t>(k) * 55237u ^ static_cast<std::uint32_t>(j) * 113713u ^
                 static_cast<std::uint32_t>(i) * 99137u;
  const double x = i + random.Next() / 32767.0;
  const double y = j + random.Next() / 32767.0;
  const double z = k + random.Next() / 32767.0;
  return {x, y, z};
}

// Nearest-two gap over the 81 surrounding cells, straight from the definition.
double ReferenceCrackle(const math::Vector3& p) {
  const int i = static_cast<int>(std::floor(p.x - 1e-05));
  const int j = static_cast<int>(std::floor(p.y - 1e-05));
  const int k = static_cast<int>(std::floor(p.z - 1e-05));
  std::vector<double> distances;
  for (int dx = -2; dx <= 2; ++dx)
    for (int dy = -2; dy <= 2; ++dy)
      for (int dz = -2; dz <= 2; ++dz) {
        if ((std::abs(dx) == 2) + (std::abs(dy) == 2) + (std::abs(dz) == 2) >= 2) continue;
        const math::Vector3 c = ReferenceCellPoint(i + dx, j + dy, k + dz);
        distances.push_back(std::sqrt(math::Dot(c - p, c - p)));
      }
  EXPECT_EQ(distances.size(), 81u);
  std::sort(distances.begin(), distances.end());
  return std::min(distances[1] - distances[0], 1.0);
}

TEST(Crackle, MatchesTheNearestTwoCellPoints) {
  for (const math::Vector3& p :
       {math::Vector3{0.3, 0.6, 0.9}, math::Vector3{-4.2, 7.7, 0.01}, math::Vector3{100.5, -100.5, 3.3}}) {
    EXPECT_NEAR(Crackle(p), ReferenceCrackle(p), 1e-12);
  }
}

TEST(Crackle, APointOnACellFaceBelongsToTheCellBelow) {
  EXPECT_EQ(CrackleCellKey({1.0, 0.5, 0.5}), CrackleCellKey({0.5, 0.5, 0.5}));
  EXPECT_NE(CrackleCellKey({1.001, 0.5, 0.5}), CrackleCellKey({0.5, 0.5, 0.5}));
  const math::Vector3 point = CrackleCellPoint({2.0, 3.0, 4.0});
  const math::Vector3 expected = ReferenceCellPoint(1, 2, 3);
  EXPECT_EQ(point, expected);
}

TEST(CrackleCache, DrawsACellOnceAndEvictsTheLeastRecentlyUsed) {
  CrackleCache cache;
  const double first = cache.Value({0.5, 0.5, 0.5});
  EXPECT_EQ(cache.Value({0.25, 0.75, 0.5}), ReferenceCrackle({0.25, 0.75, 0.5}));
  EXPECT_EQ(cache.Misses(), 1);
  // Sixteen further cells push the first one out.
  for (int cell = 1; cell <= 16; ++cell) cache.Value({cell + 0.5, 0.5, 0.5});
  EXPECT_EQ(cache.Misses(), 17);
  EXPECT_EQ(cache.Value({0.5, 0.5, 0.5}), first);
  EXPECT_EQ(cache.Misses(), 18);
  // Cell 16 is the most recent but one: still kept, whereas cell 2 was evicted for cell 0.
  cache.Value({16.5, 0.5, 0.5});
  EXPECT_EQ(cache.Misses(), 18);
  cache.Value({1.5, 0.5, 0.5});
  EXPECT_EQ(cache.Misses(), 19);
}

TEST(Crackle, CellsWhoseKeysCollideKeepTheirOwnPoints) {
  // Cells (-1, -1, -1) and (1, -1, 1) share a key: -a ^ -b ^ -c == a ^ -b ^ c here. The value
  // at a point must not depend on which of the two the cache saw first.
  const math::Vector3 first{0.0, 0.0, 0.0}, second{1.11, -0.63, 1.27};
  ASSERT_EQ(CrackleCellKey(first), CrackleCellKey(second));
  CrackleCache cache;
  cache.Value(first);
  EXPECT_NEAR(cache.Value(second), ReferenceCrackle(second), 1e-12);
  EXPECT_NEAR(cache.Value(first), ReferenceCrackle(first), 1e-12);
  EXPECT_EQ(cache.Misses(), 2);
}

// Crackle over a thread-specific order of points, as one thread alone computes it.
std::vector<double> CrackleSequence(const std::vector<math::Vector3>& points, int t) {
  std::vector<double> values;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < points.size(); ++i)
      values.push_back(Crackle(points[(i * (t + 1)) % points.size()]));
  }
  return values;
}

TEST(Crackle, ThreadsWithTheirOwnCachesGiveTheSingleThreadedValues) {
  std::vector<math::Vector3> points;
  for (int i = 0; i < 400; ++i) points.push_back({i * 0.37, i * -0.21, std::sin(i) * 9.0});
  constexpr int kThreads = 6;
  // Each order alone, on a fresh thread (and so a fresh cache).
  std::vector<std::vector<double>> expected(kThreads), actual(kThreads);
  for (int t = 0; t < kThreads; ++t) std::thread([&, t] { expected[t] = CrackleSequence(points, t); }).join();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back([&, t] { actual[t] = CrackleSequence(points, t); });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(actual[t], expected[t]) << t;
}

TEST(TransformWarp, MapsThroughTheInverse) {
  TransformWarp warp;
  warp.GetTransform().Translate({1.0, 2.0, 3.0});
  EXPECT_EQ(warp.Apply({1.5, 2.0, 3.0}), (math::Vector3{0.5, 0.0, 0.0}));
}

TEST(TurbulenceWarp, AddsScaledVectorTurbulence) {
  TurbulenceWarp warp;
  warp.turbulence = {0.5, 0.0, 2.0};
  warp.octaves = 3;
  const math::Vector3 p{0.3, -1.2, 2.6};
  double t[3];
  reference::VectorTurbulence(p.x, p.y, p.z, 2.0, 0.5, 3, t);
  const math::Vector3 out = warp.Apply(p);
  EXPECT_NEAR(out.x, p.x + t[0] * 0.5, 1e-14);
  EXPECT_EQ(out.y, p.y);
  EXPECT_NEAR(out.z, p.z + t[2] * 2.0, 1e-14);
}

TEST(BlackHoleWarp, PullsPointsInsideTheRadiusTowardsTheCentre) {
  BlackHoleWarp warp;
  warp.centre = {0.0, 0.0, 0.0};
  warp.radius = 2.0;
  warp.falloff = 2.0;
  warp.strength = 0.8;
  // d = c - p = (-1, 0, 0); s = min(((2 - 1) / 2)^2 * 0.8, 1) = 0.2, negated: p moves away
  // from the centre by 0.2 d.
  EXPECT_NEAR(warp.Apply({1.0, 0.0, 0.0}).x, 1.2, 1e-15);
  warp.inverse = true;
  EXPECT_NEAR(warp.Apply({1.0, 0.0, 0.0}).x, 0.8, 1e-15);
  EXPECT_EQ(warp.Apply({3.0, 0.0, 0.0}), (math::Vector3{3.0, 0.0, 0.0}));
  warp.radius = 0.0;
  EXPECT_EQ(warp.Apply({0.0, 0.0, 0.0}), (math::Vector3{0.0, 0.0, 0.0}));
  EXPECT_EQ(warp.Apply({1e-9, 0.0, 0.0}), (math::Vector3{1e-9, 0.0, 0.0}));
}

TEST(BlackHoleWarp, RepeatedCentresAreJitteredPerCell) {
  BlackHoleWarp warp;
  warp.centre = {0.5, 0.5, 0.5};
  warp.radius = 0.25;
  warp.repeat = {2.0, 0.0, 0.0};
  // Without jitter the copy in cell x = 3 sits at 6.5.
  const math::Vector3 near{6.6, 0.5, 0.5};
  const math::Vector3 moved = warp.Apply(near);
  // d = 6.5 - 6.6, s = -(0.15 / 0.25): 6.6 + 0.6 * 0.1.
  EXPECT_NEAR(moved.x, 6.66, 1e-12);
  warp.turbulence = {0.1, 0.0, 0.0};
  reference::Generator random;
  random.state = 3;  // trunc(0 * 496 + 0 * 28 + 3)
  const double jitterX = 2.0 * (0.5 - random.Next() / 32767.0) * 0.1;
  const double centreX = 0.5 + jitterX + 6.0;
  const math::Vector3 jittered = warp.Apply(near);
  const double d = centreX - 6.6;
  const double expected = std::fabs(d) < 0.25 ? 6.6 - std::pow((0.25 - std::fabs(d)) / 0.25, 1.0) * d : 6.6;
  EXPECT_NEAR(jittered.x, expected, 1e-12);
}

TEST(BlackHoleWarp, AJitteredCopyNearAPointAtInfinityLeavesThePointAlone) {
  BlackHoleWarp warp;
  warp.repeat = {2.0, 2.0, 0.0};
  warp.turbulence = {0.1, 0.1, 0.0};
  const double inf = std::numeric_limits<double>::infinity();
  const math::Vector3 far{inf, 1.0, 0.0};
  const math::Vector3 moved = warp.Apply(far);
  EXPECT_EQ(moved.x, inf);
  EXPECT_EQ(moved.y, 1.0);
  EXPECT_TRUE(std::isnan(warp.Apply({std::nan(""), 0.0, 0.0}).x));
}

TEST(RepeatWarp, WrapsEveryCellFlipsOddCellsAndOffsetsEveryCell) {
  RepeatWarp warp;
  warp.axis = 0;
  warp.width = 2.0;
  warp.offset = {0.0, 1.0, 0.0};
  warp.flip = {-1.0, 1.0, -1.0};
  // Cell 1 (x in [2, 4)): x - 2 = 0.5, flipped -0.5, plus the width: 1.5; z flipped.
  const math::Vector3 odd = warp.Apply({2.5, 0.25, 0.75});
  EXPECT_NEAR(odd.x, 1.5, 1e-15);
  EXPECT_NEAR(odd.y, 1.25, 1e-15);
  EXPECT_NEAR(odd.z, -0.75, 1e-15);
  // Cell 2 repeats cell 0 unflipped and adds twice the offset.
  EXPECT_EQ(warp.Apply({4.5, 0.25, 0.75}), (math::Vector3{0.5, 2.25, 0.75}));
  EXPECT_EQ(warp.Apply({-3.5, 0.25, 0.75}), (math::Vector3{0.5, -1.75, 0.75}));
  // Cell -1 is odd too.
  const math::Vector3 negative = warp.Apply({-0.5, 0.0, 0.0});
  EXPECT_NEAR(negative.x, -(-0.5 + 2.0) + 2.0, 1e-15);
  EXPECT_NEAR(negative.y, -1.0, 1e-15);
}

TEST(Warps, CloneCopiesTheSettings) {
  RepeatWarp warp;
  warp.width = 3.0;
  const std::unique_ptr<Warp> copy = warp.Clone();
  EXPECT_EQ(copy->Type(), WarpType::kRepeat);
  EXPECT_EQ(copy->Apply({4.0, 1.0, 1.0}), warp.Apply({4.0, 1.0, 1.0}));
}

}  // namespace
}  // namespace lumetra::texture
