#include <gtest/gtest.h>

#include <cmath>

#include "texture/block_normal.h"
#include "texture/normal_map.h"
#include "texture/pattern_normal.h"
#include "texture/testing/reference_noise.h"

namespace lumetra::texture {
namespace {

ShadingPoint At(double x, double y, double z, math::Vector3 n) {
  ShadingPoint s{};
  s.point[0] = x;
  s.point[1] = y;
  s.point[2] = z;
  SetNormal(s, n);
  return s;
}

math::Vector3 Unit(math::Vector3 v) { return v * (1.0 / math::Length(v)); }

void ExpectNear(const math::Vector3& a, const math::Vector3& b, double tolerance = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

const float kDirections[4][3] = {{0.942809041f, -0.333333333f, 0.0f},
                                 {-0.471404521f, -0.333333333f, 0.816496581f},
                                 {-0.471404521f, -0.333333333f, -0.816496581f},
                                 {0.0f, 1.0f, 0.0f}};

TEST(PatternNormal, SamplesThatAreAllZeroLeaveTheNormalOnlyNormalised) {
  PatternNormal normal(PatternId::kBoxed);
  ShadingPoint p = At(5, 5, 5, {0, 3, 4});
  SurfaceSample s{};
  normal.Eval(p, s);
  ExpectNear(NormalOf(p), {0, 0.6, 0.8}, 1e-15);
  ShadingPoint zero = At(5, 5, 5, {0, 0, 0});
  normal.Eval(zero, s);
  ExpectNear(NormalOf(zero), {1, 0, 0}, 0.0);
}

TEST(PatternNormal, SamplesThePatternAtFourDirections) {
  PatternNormal normal(PatternId::kGradient);
  normal.pattern.params.gradientX = 1.0;
  normal.pattern.params.gradientY = 0.5;
  normal.bump.amount = 0.3f;
  normal.bump.samplingDistance = 0.1f;
  const double p[3] = {0.4, 0.2, 0.0};
  math::Vector3 expected{0, 1, 0};
  for (const auto& d : kDirections) {
    const double qx = p[0] + double(0.1f * d[0]), qy = p[1] + double(0.1f * d[1]);
    const double g = std::fabs(qx) + std::fabs(qy * 0.5);  // below 1: no wrap, ramp shaping
    expected = expected + math::Vector3{d[0], d[1], d[2]} * (g * double(0.3f) * -5.0);
  }
  ShadingPoint point = At(p[0], p[1], p[2], {0, 1, 0});
  SurfaceSample s{};
  normal.Eval(point, s);
  ExpectNear(NormalOf(point), Unit(expected));
  EXPECT_EQ(point.point[0], 0.4);  // a normal changes only the normal
}

TEST(PatternNormal, NoiseBumpsDentsAndWrinklesUseVectorTurbulence) {
  const math::Vector3 p{0.3, 1.7, -2.2}, n{0, 0, 1};
  double v[3];
  reference::VectorNoise(p.x, p.y, p.z, v);
  PatternNormal bumps(PatternId::kBumps);
  bumps.bump.amount = 0.5f;
  ExpectNear(bumps.Perturb(p, n), Unit({v[0] * 0.5, v[1] * 0.5, 1 + v[2] * 0.5}));

  PatternNormal dents(PatternId::kDents);
  dents.bump.amount = 0.5f;
  const double s = reference::Clamped(p.x, p.y, p.z);
  const double k = 0.5 * s * s * s;
  ExpectNear(dents.Perturb(p, n), Unit({v[0] * k, v[1] * k, 1 + v[2] * k}));

  PatternNormal wrinkles(PatternId::kWrinkles);
  wrinkles.bump.amount = 0.25f;
  double w[3];
  reference::VectorTurbulence(p.x, p.y, p.z, 2.0, 0.5, 8, w);
  ExpectNear(wrinkles.Perturb(p, n), Unit({w[0] * 0.25, w[1] * 0.25, 1 + w[2] * 0.25}));

  PatternNormal average(PatternId::kAverage);
  ExpectNear(average.Perturb(p, {0, 0, 2}), {0, 0, 1}, 0.0);
}

TEST(PatternNormal, RipplesTiltTowardsTheSources) {
  PatternNormal ripples(PatternId::kRipples);
  ripples.bump.amount = 0.4f;
  ripples.Noise().frequency = 2.0;
  ripples.Noise().phase = 0.1;
  const math::Vector3 p{0.2, -0.4, 0.9}, n{0, 1, 0};
  reference::Generator random;
  random.state = 42;
  math::Vector3 expected = n;
  for (int i = 0; i < 10; ++i) {
    const double z = random.Next() / 32767.0, y = random.Next() / 32767.0, x = random.Next() / 32767.0;
    random.Next();  // the size
    const math::Vector3 c = Unit({x, y, z});
    const math::Vector3 d = p - c;
    const double length = math::Length(d);
    expected =
        expected + d * (std::sin((length * 2.0 + 0.1) * 6.283185207179587) * double(0.4f) / (10 * length));
  }
  ExpectNear(ripples.Perturb(p, n), Unit(expected));
}

TEST(PatternNormal, QuiltedTiltsAlongTheOffsetFromTheCellCentre) {
  PatternNormal quilted(PatternId::kQuilted);
  quilted.bump.amount = 1.0f;
  quilted.pattern.params.quiltControl0 = 1.0f;
  quilted.pattern.params.quiltControl1 = 1.0f;
  const math::Vector3 p{0.7, 0.5, 0.5};  // offset (0.2, 0, 0), r = 0.2, t = 0.8
  const double f = (3 * 0.64 + (3 * 0.8 + 0.2) * 0.2) * 0.2 * 1.154700538;
  ExpectNear(quilted.Perturb(p, {0, 1, 0}), Unit({0.2 * f, 1, 0}));
}

TEST(NormalMap, BlendsTheTwoPerturbedNormals) {
  NormalMap map(PatternId::kGradient);
  map.pattern.params.gradientX = 1.0;
  auto average = std::make_unique<PatternNormal>(PatternId::kAverage);
  auto tilted = std::make_unique<PatternNormal>(PatternId::kQuilted);
  tilted->pattern.params.quiltControl0 = 1.0f;
  tilted->pattern.params.quiltControl1 = 1.0f;
  tilted->bump.amount = 1.0f;
  map.entries.push_back({0.0f, std::move(average)});
  map.entries.push_back({1.0f, std::move(tilted)});
  ShadingPoint p = At(0.7, 0.5, 0.5, {0, 1, 0});
  SurfaceSample s{};
  map.Eval(p, s);
  const double f = (3 * 0.64 + (3 * 0.8 + 0.2) * 0.2) * 0.2 * 1.154700538;
  const math::Vector3 second = Unit({0.2 * f, 1, 0});
  ExpectNear(NormalOf(p), Unit(math::Vector3{0, 1, 0} * 0.3 + second * 0.7), 1e-6);
}

TEST(BlockNormal, SamplesTheBlockIndexOrDelegatesToSubNormals) {
  CheckerNormal checker;
  checker.bump.samplingDistance = 0.02f;
  checker.bump.amount = 1.0f;
  // Deep inside an even cell every sample reads 0.
  ShadingPoint inside = At(0.5, 0.5, 0.5, {0, 0, 3});
  SurfaceSample s{};
  checker.Eval(inside, s);
  ExpectNear(NormalOf(inside), {0, 0, 1}, 0.0);
  // Near x = 1 only the first direction (+x) crosses into the odd cell.
  ShadingPoint edge = At(0.99, 0.5, 0.5, {0, 0, 1});
  checker.Eval(edge, s);
  ExpectNear(NormalOf(edge), Unit({-5.0 * kDirections[0][0], -5.0 * kDirections[0][1], 1}), 1e-7);
  checker.subNormals.emplace_back(std::make_unique<PatternNormal>(PatternId::kAverage));
  checker.subNormals.emplace_back(std::make_unique<PatternNormal>(PatternId::kAverage));
  ShadingPoint delegated = At(0.99, 0.5, 0.5, {0, 0, 2});
  checker.Eval(delegated, s);
  ExpectNear(NormalOf(delegated), {0, 0, 1}, 0.0);
}

}  // namespace
}  // namespace lumetra::texture
