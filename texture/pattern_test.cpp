#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/debug_log.h"
#include "texture/pattern.h"
#include "texture/pattern_id.h"
#include "texture/pattern_math.h"
#include "texture/shaping.h"
#include "texture/testing/reference_noise.h"
#include "texture/wave_sources.h"

namespace lumetra::texture {
namespace {

constexpr double kTolerance = 1e-12;

double Value(PatternId id, math::Vector3 p, const NoiseParams& noise = {}, const PatternParams& params = {}) {
  return PatternValue(id, p, noise, params);
}

double Raw(PatternId id, math::Vector3 p, const NoiseParams& noise = {}, const PatternParams& params = {}) {
  return RawPatternValue(id, p, noise, params);
}

double Frac(double u) { return u >= 0 ? u - std::floor(u) : u + std::floor(-u) + 1; }

// The wave sources drawn again here from the generator seeded with 42.
struct ReferenceSource {
  double c[3];
  double size;
};
std::vector<ReferenceSource> ReferenceSources() {
  reference::Generator random;
  random.state = 42;
  std::vector<ReferenceSource> sources;
  for (int i = 0; i < 10; ++i) {
    const double r1 = random.Next(), r2 = random.Next(), r3 = random.Next();
    double x = r3 / 32767.0, y = r2 / 32767.0, z = r1 / 32767.0;
    const double length = std::sqrt(x * x + y * y + z * z);
    ReferenceSource s{{x / length, y / length, z / length}, random.Next() / 32767.0 + 0.01};
    sources.push_back(s);
  }
  return sources;
}

TEST(PatternId, MapsHostSubKindsSkippingTwo) {
  platform::DebugLog::Clear();
  EXPECT_EQ(PatternIdFromSubKind(0), PatternId::kAgate);
  EXPECT_EQ(PatternIdFromSubKind(1), PatternId::kBozo);
  EXPECT_EQ(PatternIdFromSubKind(2), PatternId::kCrackle);
  EXPECT_EQ(PatternIdFromSubKind(13), PatternId::kWood);
  EXPECT_EQ(PatternIdFromSubKind(25), PatternId::kDensityFile);
  EXPECT_TRUE(platform::DebugLog::Lines().empty());
  EXPECT_EQ(PatternIdFromSubKind(26), PatternId::kAgate);
  EXPECT_EQ(PatternIdFromSubKind(-1), PatternId::kAgate);
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{"Unknown noise pattern\n", "Unknown noise pattern\n"}));
}

TEST(Shaping, FrequencyZeroGivesZeroForEveryPattern) {
  NoiseParams noise;
  noise.frequency = 0.0;
  PatternParams params;
  params.gradientX = 1.0;
  for (int id = 0; id <= 26; ++id) {
    EXPECT_EQ(Value(static_cast<PatternId>(id), {0.3, 0.2, 0.1}, noise, params), 0.0) << id;
  }
}

TEST(Shaping, RampKeepsValuesInTheUnitRangeIncludingOne) {
  const NoiseParams plain;
  EXPECT_EQ(ShapePatternValue(0.25, plain), 0.25);
  EXPECT_EQ(ShapePatternValue(1.0, plain), 1.0);
  EXPECT_NEAR(ShapePatternValue(1.5, plain), std::fmod(1.5, 1.0000001), kTolerance);
  NoiseParams shifted;
  shifted.frequency = 2.0;
  shifted.phase = -0.9;
  const double wrapped = std::fmod(0.2 * 2.0 - 0.9, 1.0000001);
  EXPECT_NEAR(ShapePatternValue(0.2, shifted), wrapped - std::floor(wrapped), kTolerance);
}

TEST(Shaping, WaveShapes) {
  NoiseParams noise;
  const double v = 0.7;
  noise.waveShape = 1;
  EXPECT_NEAR(ShapePatternValue(v, noise), 2 * (1 - 0.7), kTolerance);
  EXPECT_NEAR(ShapePatternValue(0.2, noise), 0.4, kTolerance);
  noise.waveShape = 2;
  EXPECT_NEAR(ShapePatternValue(v, noise), (std::sin(0.7 * kPatternTwoPi) + 1) * 0.5, kTolerance);
  noise.waveShape = 3;
  EXPECT_NEAR(ShapePatternValue(v, noise), std::fabs(std::sin(0.7 * std::numbers::pi)), kTolerance);
  noise.waveShape = 4;
  EXPECT_NEAR(ShapePatternValue(v, noise), (3 - 1.4) * 0.49, kTolerance);
  noise.waveShape = 5;
  noise.exponent = 2.5;
  EXPECT_NEAR(ShapePatternValue(v, noise), std::pow(0.7, 2.5), kTolerance);
  noise.waveShape = 99;
  EXPECT_NEAR(ShapePatternValue(v, noise), 0.7, kTolerance);
}

TEST(Patterns, GradientWrapsOnlyAboveOne) {
  PatternParams params;
  params.gradientX = 1.0;
  EXPECT_NEAR(Value(PatternId::kGradient, {0.5, 9, 9}, {}, params), 0.5, kTolerance);
  EXPECT_NEAR(Value(PatternId::kGradient, {-0.5, 9, 9}, {}, params), 0.5, kTolerance);
  EXPECT_EQ(Value(PatternId::kGradient, {1.0, 9, 9}, {}, params), 1.0);
  EXPECT_NEAR(Value(PatternId::kGradient, {1.5, 9, 9}, {}, params), 0.5, kTolerance);
  params.gradientY = -2.0;
  EXPECT_NEAR(Raw(PatternId::kGradient, {0.1, 0.2, 9}, {}, params), 0.5, kTolerance);
}

TEST(Patterns, MandelCountsIterationsBeforeEscape) {
  PatternParams params;
  params.mandelIterations = 20;
  EXPECT_EQ(Raw(PatternId::kMandel, {0, 0, 0}, {}, params), 1.0);
  // c = 1: 1, 2, 5 -> escapes on the second step after one kept iterate.
  EXPECT_NEAR(Raw(PatternId::kMandel, {1, 0, 0}, {}, params), 1.0 / 20, kTolerance);
  // c = -1 cycles between 0 and -1 forever.
  EXPECT_EQ(Raw(PatternId::kMandel, {-1, 0, 0}, {}, params), 1.0);
  params.mandelIterations = 0;
  EXPECT_EQ(Raw(PatternId::kMandel, {0, 0, 0}, {}, params), 0.0);
}

TEST(Patterns, DistanceFalloffsAreOneAtTheOriginAndZeroFromDistanceOne) {
  for (PatternId id :
       {PatternId::kBoxed, PatternId::kCylindrical, PatternId::kPlanar, PatternId::kSpherical}) {
    EXPECT_EQ(Raw(id, {0, 0, 0}), 1.0);
    EXPECT_EQ(Raw(id, {1, 1, 1}), 0.0);
    EXPECT_EQ(Raw(id, {0, -3, 0}), id == PatternId::kCylindrical ? 1.0 : 0.0);
  }
  EXPECT_NEAR(Raw(PatternId::kBoxed, {0.2, -0.6, 0.1}), 0.4, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kCylindrical, {0.3, 5, 0.4}), 0.5, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kPlanar, {7, 0.25, 7}), 0.75, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kSpherical, {0.3, 0.4, 0}), 0.5, kTolerance);
}

TEST(Patterns, ClosedFormPatterns) {
  const math::Vector3 p{0.8, -1.3, 2.45};
  const double s = (std::sin(0.8) + std::sin(-1.3) + std::sin(2.45)) * 0.3333333333333333;
  EXPECT_NEAR(Raw(PatternId::kLeopard, p), s * s, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kOnion, p), std::fmod(std::sqrt(0.64 + 1.69 + 2.45 * 2.45), 1.0), kTolerance);
  EXPECT_NEAR(Raw(PatternId::kRadial, p),
              (std::atan2(0.8, 2.45) + std::numbers::pi) / (2 * std::numbers::pi) + 0.25, kTolerance);
  EXPECT_EQ(Raw(PatternId::kMarble, p), 0.8);
  EXPECT_EQ(Raw(PatternId::kAverage, p), 0.0);
  EXPECT_EQ(Raw(PatternId::kDensityFile, p), 0.0);
  EXPECT_EQ(Raw(PatternId::kUnused, p), 0.0);
}

TEST(Patterns, Spirals) {
  PatternParams params;
  params.spiralArms = 3;
  const math::Vector3 p{0.6, -0.8, 0.35};
  const double turns = (1.5707963267948966 - std::atan2(0.6, -0.8)) * 3 * 0.15915494309189535;
  EXPECT_NEAR(Raw(PatternId::kSpiral1, p, {}, params), 1.0 + turns + 0.35, kTolerance);
  const double f = Frac(turns + 0.35);
  const double a = f < 0.5 ? 2 * f : 2 * (1 - f);
  double g = Frac(1.0);
  if (g >= 0.5) g = 1 - g;
  EXPECT_NEAR(Raw(PatternId::kSpiral2, p, {}, params), a + 2 * g, kTolerance);
  // Negative arguments of frac take the odd form u + floor(|u|) + 1.
  const math::Vector3 q{-0.3, -0.1, -4.2};
  const double u = (1.5707963267948966 - std::atan2(-0.3, -0.1)) * 3 * 0.15915494309189535 - 4.2;
  const double fq = Frac(u);
  double gq = Frac(std::sqrt(0.1));
  if (gq >= 0.5) gq = 1 - gq;
  EXPECT_NEAR(Raw(PatternId::kSpiral2, q, {}, params), (fq < 0.5 ? 2 * fq : 2 * (1 - fq)) + 2 * gq,
              kTolerance);
}

TEST(Patterns, Quilted) {
  PatternParams params;
  params.quiltControl0 = 0.25f;
  params.quiltControl1 = 0.75f;
  const math::Vector3 p{1.2, -0.35, 3.9};
  const double dx = 0.2 - 0.5, dy = 0.65 - 0.5, dz = 0.9 - 0.5;
  const double r = std::sqrt(dx * dx + dy * dy + dz * dz), t = 1 - r;
  const double f = (0.25 * 3 * t * t + (0.75 * 3 * t + r) * r) * r * 1.154700538;
  EXPECT_NEAR(Raw(PatternId::kQuilted, p, {}, params),
              (std::fabs(f * dx) + std::fabs(f * dy) + std::fabs(f * dz)) * 0.3333333333333333, 1e-9);
}

TEST(Patterns, NoiseBasedPatterns) {
  const math::Vector3 p{0.37, 1.91, -2.63};
  const double n = reference::Clamped(p.x, p.y, p.z);
  EXPECT_NEAR(Raw(PatternId::kBozo, p), n, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kSpotted, p), n, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kBumps, p), n, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kDents, p), n * n * n, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kWrinkles, p), reference::Turbulence(p.x, p.y, p.z, 2, 0.5, 10), kTolerance);
  double granite = 0, amplitude = 1, q[3] = {p.x * 4, p.y * 4, p.z * 4};
  for (int i = 0; i < 6; ++i) {
    granite += std::fabs(0.5 - reference::Clamped(q[0], q[1], q[2])) * amplitude;
    amplitude *= 0.5;
    for (double& c : q) c *= 2;
  }
  EXPECT_NEAR(Raw(PatternId::kGranite, p), granite, kTolerance);
}

TEST(Patterns, TurbulentPatternsUseTheNodeNoise) {
  const math::Vector3 p{0.37, 1.91, -2.63};
  NoiseParams noise;
  noise.octaves = 6;
  noise.lambda = 2.2;
  noise.omega = 0.45;
  const double t = reference::Turbulence(p.x, p.y, p.z, 2.2, 0.45, 6);
  PatternParams params;
  params.agateTurbulence = 0.7f;
  const double w = (std::sin((t * double(0.7f) * 1.3 + p.z * 1.1) * kPatternTwoPi) + 1) * 0.5;
  EXPECT_NEAR(Raw(PatternId::kAgate, p, noise, params), std::pow(std::min(w, 1.0), 0.77), kTolerance);
  EXPECT_EQ(Raw(PatternId::kMarble, p, noise), p.x);  // turbulence off
  noise.turbulenceOn = true;
  noise.turbulenceX = 0.8;
  noise.turbulenceY = 0.3;
  EXPECT_NEAR(Raw(PatternId::kMarble, p, noise), p.x + t * 0.8, kTolerance);

  double v[3];
  reference::VectorTurbulence(p.x, p.y, p.z, 2.2, 0.45, 6, v);
  const double wx = p.x + std::sin((v[0] + p.x) * 0.8 * kPatternTwoPi);
  const double wy = p.y + std::sin((v[1] + p.y) * 0.3 * kPatternTwoPi);
  math::Vector3 moved = p;
  EXPECT_NEAR(RawPatternValue(PatternId::kWood, moved, noise, {}), std::sqrt(wx * wx + wy * wy), kTolerance);
  EXPECT_NEAR(moved.x, wx, kTolerance);  // the moved point is written back
  EXPECT_NEAR(moved.y, wy, kTolerance);
  EXPECT_EQ(moved.z, p.z);
}

TEST(Patterns, RipplesAndWavesSumOverTheTenSources) {
  const std::vector<ReferenceSource> sources = ReferenceSources();
  const WaveSources& made = GetWaveSources();
  for (int i = 0; i < 10; ++i) {
    EXPECT_NEAR(made[i].centre.x, sources[i].c[0], 1e-15);
    EXPECT_NEAR(made[i].size, sources[i].size, 1e-15);
  }
  NoiseParams noise;
  noise.frequency = 1.5;
  noise.phase = 0.2;
  const math::Vector3 p{0.4, -0.7, 1.1};
  double ripples = 0, waves = 0;
  for (const ReferenceSource& s : sources) {
    const double d =
        std::sqrt(std::pow(p.x - s.c[0], 2) + std::pow(p.y - s.c[1], 2) + std::pow(p.z - s.c[2], 2));
    ripples += std::sin((d * 1.5 + 0.2) * kPatternTwoPi);
    waves += std::sin((d * 1.5 * s.size + 0.2) * kPatternTwoPi) / s.size;
  }
  EXPECT_NEAR(Raw(PatternId::kRipples, p, noise), (ripples / 10 + 1) * 0.5, kTolerance);
  EXPECT_NEAR(Raw(PatternId::kWaves, p, noise), (waves / 10 + 2.5) * 0.2, 1e-10);
  // Frequency and phase act once more in the shaping.
  const double shaped = std::fmod(((ripples / 10 + 1) * 0.5) * 1.5 + 0.2, 1.0000001);
  EXPECT_NEAR(Value(PatternId::kRipples, p, noise), shaped, kTolerance);
}

}  // namespace
}  // namespace lumetra::texture
