#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/debug_log.h"
#include "texture/block_pattern.h"
#include "texture/block_pigment.h"
#include "texture/block_texture.h"
#include "texture/callbacks.h"
#include "texture/layered_texture.h"
#include "texture/media.h"
#include "texture/pattern_pigment.h"
#include "texture/pigment_map_pigment.h"
#include "texture/solid_pigment.h"
#include "texture/standard_texture.h"
#include "texture/surface_sample.h"
#include "texture/texture_map.h"
#include "texture/transform_warp.h"

namespace lumetra::texture {
namespace {

ShadingPoint At(double x, double y, double z) {
  ShadingPoint s{};
  s.point[0] = x;
  s.point[1] = y;
  s.point[2] = z;
  s.normal[1] = 1.0;
  s.weight = 1.0;
  return s;
}

std::unique_ptr<StandardTexture> Solid(const Colour& c) {
  auto texture = std::make_unique<StandardTexture>();
  texture->pigment = std::make_unique<SolidPigment>(c);
  return texture;
}

// A gradient along x: the pattern value is p.x for p.x in [0, 1].
PatternChoice GradientX() {
  PatternChoice choice;
  choice.id = PatternId::kGradient;
  choice.params.gradientX = 1.0;
  return choice;
}

TEST(ColourToSample, OpaqueFilteredAndTransmittedColours) {
  SurfaceSample s{};
  s.flags = kSampleTransmission | kSampleReflection;
  ColourToSample(s, {0.2f, 0.4f, 0.6f, 0.0f, 0.0f});
  EXPECT_EQ(s.color[3], 1.0f);
  EXPECT_EQ(s.transmission, 0.0f);
  EXPECT_EQ(s.flags, kSampleReflection);

  ColourToSample(s, {0.2f, 0.4f, 0.6f, 0.5f, 0.0f});
  EXPECT_FLOAT_EQ(s.color[3], 0.5f);
  EXPECT_EQ(s.transmission, 1.0f);
  EXPECT_FLOAT_EQ(s.transmitted_color[0], 0.1f);
  EXPECT_FLOAT_EQ(s.transmitted_color[2], 0.3f);
  EXPECT_TRUE(s.flags & kSampleTransmission);

  ColourToSample(s, {0.2f, 0.4f, 0.6f, 0.8f, 0.5f});
  EXPECT_EQ(s.color[3], 0.0f);
  EXPECT_FLOAT_EQ(s.transmitted_color[1], 0.4f * 0.8f + 0.5f);

  ColourToSample(s, {0.2f, 0.4f, 0.6f, 0.0f, 0.25f});
  EXPECT_FLOAT_EQ(s.color[3], 0.75f);
  EXPECT_EQ(s.transmitted_color[0], 0.25f);
  EXPECT_EQ(s.transmitted_color[2], 0.25f);
}

TEST(StandardTexture, WithoutComponentsIsWhiteOpaqueWithTheDefaultFinish) {
  StandardTexture texture;
  texture.indexOfRefraction = 1.33f;
  ShadingPoint p = At(0.1, 0.2, 0.3);
  SurfaceSample s{};
  s.flags = 0xFF;
  s.transmission = 0.7f;
  texture.Shade(p, s);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(s.color[c], 1.0f);
  EXPECT_FLOAT_EQ(s.ambient, 0.1f);
  EXPECT_FLOAT_EQ(s.diffuse, 0.6f);
  EXPECT_FLOAT_EQ(s.phong, 0.1f);
  EXPECT_EQ(s.phong_size, 2.0f);
  EXPECT_EQ(s.specular_exponent, 2.0f);
  EXPECT_EQ(s.brilliance, 1.0f);
  EXPECT_EQ(s.highlight_color[2], 1.0f);
  EXPECT_EQ(s.transmission, 0.0f);
  EXPECT_EQ(s.flags, 0u);
  EXPECT_FLOAT_EQ(s.ior, 1.33f);
}

TEST(StandardTexture, FinishAndHalfOpacity) {
  StandardTexture texture;
  texture.pigment = std::make_unique<SolidPigment>(Colour{0.5f, 0.5f, 0.5f, 0.0f, 0.5f});
  Finish finish;
  finish.ambient = 0.4f;
  finish.diffuse = 0.8f;
  finish.emission = 0.2f;
  finish.specular = 0.3f;
  finish.transmission = 0.9f;
  finish.ambientColour = {0.2f, 0.3f, 0.4f, 0.0f, 0.0f};
  finish.hasAmbientColour = true;
  texture.finish = finish;
  ShadingPoint p = At(0, 0, 0);
  SurfaceSample s{};
  texture.Shade(p, s);
  EXPECT_FLOAT_EQ(s.color[3], 0.5f);
  EXPECT_FLOAT_EQ(s.ambient, 0.2f);
  EXPECT_FLOAT_EQ(s.diffuse, 0.4f);
  EXPECT_FLOAT_EQ(s.emission, 0.1f);
  EXPECT_FLOAT_EQ(s.specular, 0.3f);
  // The pigment already set the transmission amount; the finish leaves it.
  EXPECT_EQ(s.transmission, 1.0f);
  EXPECT_FLOAT_EQ(s.ambient_color[0], 0.2f);
  EXPECT_FLOAT_EQ(s.ambient_color[2], 0.4f);
  EXPECT_EQ(s.flags, kSampleTransmission | kSampleAmbientColour);
  EXPECT_EQ(s.reflection_color[0], 0.0f);
}

TEST(StandardTexture, WarpsTheCallersPointAndClonesDeeply) {
  StandardTexture texture;
  auto warp = std::make_unique<TransformWarp>();
  warp->GetTransform().Translate({1.0, 0.0, 0.0});
  texture.AppendWarp(std::move(warp));
  texture.pigment = std::make_unique<SolidPigment>(Colour{0.25f, 0.0f, 0.0f});
  ShadingPoint p = At(3.0, 2.0, 1.0);
  SurfaceSample s{};
  texture.Shade(p, s);
  EXPECT_EQ(p.point[0], 2.0);
  const std::unique_ptr<Texture> copy = texture.Clone();
  static_cast<SolidPigment&>(*texture.pigment).colour.red = 0.75f;
  ShadingPoint q = At(3.0, 2.0, 1.0);
  copy->Shade(q, s);
  EXPECT_EQ(s.color[0], 0.25f);
  EXPECT_EQ(q.point[0], 2.0);
}

TEST(PatternPigment, ColourMapLookupAndBlend) {
  PatternPigment pigment;
  pigment.pattern = GradientX();
  EXPECT_FLOAT_EQ(pigment.ColourAt(0.3).green, 0.3f);  // empty map: grey
  pigment.colourMap = {{0.25f, {0, 0, 0}}, {0.75f, {1, 1, 1, 0.5f, 0}}};
  EXPECT_EQ(pigment.ColourAt(0.1).red, 0.0f);
  EXPECT_FLOAT_EQ(pigment.ColourAt(0.5).red, 0.5f);
  EXPECT_FLOAT_EQ(pigment.ColourAt(0.5).filter, 0.25f);
  EXPECT_EQ(pigment.ColourAt(0.75).red, 1.0f);
  EXPECT_EQ(pigment.ColourAt(0.9).red, 1.0f);
  ShadingPoint p = At(0.5, 0, 0);
  SurfaceSample s{};
  pigment.Eval(p, s);
  EXPECT_FLOAT_EQ(s.color[0], 0.5f);
  EXPECT_FLOAT_EQ(s.color[3], 0.75f);
}

TEST(PatternPigment, AgateIsMadeWithSixOctaves) {
  EXPECT_EQ(PatternPigment(PatternId::kAgate).Noise().octaves, 6);
  EXPECT_EQ(PatternPigment(PatternId::kBozo).Noise().octaves, 1);
  EXPECT_EQ(TextureMap(PatternId::kAgate).Noise().octaves, 6);
}

TEST(PigmentMapPigment, BlendsTheTwoPigmentsColours) {
  PigmentMapPigment pigment;
  pigment.pattern = GradientX();
  ShadingPoint p = At(0.4, 0, 0);
  SurfaceSample s{};
  pigment.Eval(p, s);
  EXPECT_EQ(s.color[0], 1.0f);
  EXPECT_EQ(s.color[3], 0.0f);
  pigment.entries.push_back({0.0f, std::make_unique<SolidPigment>(Colour{1, 0, 0})});
  pigment.entries.push_back({0.5f, std::make_unique<SolidPigment>(Colour{0, 0, 1, 0, 1})});
  pigment.Eval(p, s);
  EXPECT_FLOAT_EQ(s.color[0], 0.2f);
  EXPECT_FLOAT_EQ(s.color[2], 0.8f);
  EXPECT_FLOAT_EQ(s.color[3], 0.2f);
}

TEST(BlockPatterns, Checker) {
  EXPECT_EQ(CheckerIndex({0.5, 0.5, 0.5}), 0);
  EXPECT_EQ(CheckerIndex({1.5, 0.5, 0.5}), 1);
  EXPECT_EQ(CheckerIndex({-1e-8, 0.5, 0.5}), 0);
  EXPECT_EQ(CheckerIndex({-0.5, 0.5, 0.5}), 1);
  EXPECT_EQ(CheckerIndex({-0.5, -0.5, 0.5}), 0);
}

TEST(BlockPatterns, Brick) {
  const math::Vector3 size{1, 1, 1};
  // The mortar is shifted by its own width: the horizontal joints are y in (-0.1, 0] + n.
  EXPECT_EQ(BrickIndex({0.5, -0.05, 0.5}, size, 0.1), 0);
  EXPECT_EQ(BrickIndex({0.5, 0.95, 0.5}, size, 0.1), 0);
  EXPECT_EQ(BrickIndex({0.5, 0.05, 0.25}, size, 0.1), 1);
  EXPECT_EQ(BrickIndex({0.5, 0.5, 0.25}, size, 0.1), 1);
  // Row 0: vertical joints at x = -0.1 + n, z = 0.4 + n (half a brick along z).
  EXPECT_EQ(BrickIndex({-0.05, 0.5, 0.25}, size, 0.1), 0);
  EXPECT_EQ(BrickIndex({0.5, 0.5, 0.45}, size, 0.1), 0);
  // Row 1 shifts the joints by half a brick: along x to 0.4, along z to -0.1.
  EXPECT_EQ(BrickIndex({0.45, 1.5, 0.25}, size, 0.1), 0);
  EXPECT_EQ(BrickIndex({-0.05, 1.5, 0.25}, size, 0.1), 1);
  EXPECT_EQ(BrickIndex({0.2, 1.5, -0.05}, size, 0.1), 0);
}

TEST(BlockPatterns, PointsNoLatticeCanHoldTakeTheFirstHexagon) {
  // A zero scale in a texture transform sends points to infinity, or makes them not a number.
  TransformWarp flat;
  flat.GetTransform().Scale({0.0, 1.0, 1.0});
  const math::Vector3 far = flat.Apply({1.0, 1.0, 1.0});
  EXPECT_FALSE(std::isfinite(far.x));
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  using V = math::Vector3;
  for (const V& p : {far, V{nan, 0, 0}, V{0, -inf, 0}, V{1e300, 1, 0}}) {
    EXPECT_EQ(HexagonIndex(p), 0) << p.x << " " << p.y;
  }
}

TEST(BlockPatterns, HexagonTilesInThreeColours) {
  // In the scaled lattice (x / 1.5, 2y / sqrt 3) a hexagon sits at each point (i, j) with
  // i + j even; its index is ((j + 3i) / 2) mod 3. Points a little off the centre:
  auto near = [](long i, long j) {
    return math::Vector3{(i + 0.1) * 1.5, (j + 0.1) * std::sqrt(3.0) / 2.0, 5.0};
  };
  auto index = [](long i, long j) {
    long n = ((j + 3 * i) / 2) % 3;
    return static_cast<int>(n < 0 ? n + 3 : n);
  };
  for (auto [i, j] : {std::pair{0L, 0L}, {1L, 1L}, {2L, 0L}, {0L, 2L}, {-1L, -1L}, {-3L, 1L}}) {
    EXPECT_EQ(HexagonIndex(near(i, j)), index(i, j)) << i << " " << j;
  }
  // Three hexagons meeting at a corner take the three different entries.
  EXPECT_NE(HexagonIndex(near(1, 1)), HexagonIndex(near(0, 0)));
  EXPECT_NE(HexagonIndex(near(0, 2)), HexagonIndex(near(0, 0)));
  EXPECT_NE(HexagonIndex(near(0, 2)), HexagonIndex(near(1, 1)));
  // An odd cell's corner region belongs to the neighbour above: (i, j + 1).
  EXPECT_EQ(HexagonIndex({(1 + 0.1) * 1.5, (0 + 0.5) * std::sqrt(3.0) / 2.0, 0}), index(1, 1));
}

TEST(BlockPigment, SelectsColoursOrPigments) {
  CheckerPigment pigment;
  pigment.colours = {{1, 0, 0}, {0, 1, 0}};
  ShadingPoint p = At(1.5, 0.5, 0.5);
  SurfaceSample s{};
  pigment.Eval(p, s);
  EXPECT_EQ(s.color[1], 1.0f);
  pigment.pigments.emplace_back(std::make_unique<SolidPigment>(Colour{0, 0, 1}));
  pigment.pigments.emplace_back(std::make_unique<SolidPigment>(Colour{0.5f, 0.5f, 0.5f}));
  pigment.Eval(p, s);
  EXPECT_EQ(s.color[0], 0.5f);
}

// A texture that says it lets no light through must shade opaque samples everywhere.
void ExpectOpaqueEverywhere(const Texture& texture) {
  ASSERT_FALSE(texture.LetsLightThrough());
  for (int i = 0; i < 40; ++i) {
    ShadingPoint p = At(i * 0.137 - 2, i * 0.051, 1 - i * 0.093);
    SurfaceSample s{};
    s.color[3] = 1.0f;  // the library's starting sample
    texture.Shade(p, s);
    EXPECT_EQ(s.color[3], 1.0f) << i;
    EXPECT_EQ(s.flags & kSampleTransmission, 0u) << i;
  }
}

std::unique_ptr<StandardTexture> WithPigment(std::unique_ptr<Pigment> pigment) {
  auto texture = std::make_unique<StandardTexture>();
  texture->pigment = std::move(pigment);
  return texture;
}

TEST(LetsLightThrough, OnlyTexturesWhoseEveryColourIsOpaqueSayNo) {
  ExpectOpaqueEverywhere(StandardTexture{});
  ExpectOpaqueEverywhere(*Solid({0.2f, 0.3f, 0.4f}));
  EXPECT_TRUE(Solid({1, 1, 1, 0.8f, 0})->LetsLightThrough());
  EXPECT_TRUE(Solid({1, 1, 1, 0, 0.3f})->LetsLightThrough());

  auto pattern = std::make_unique<PatternPigment>();
  pattern->pattern = GradientX();
  ExpectOpaqueEverywhere(*WithPigment(pattern->Clone()));  // an empty map gives greys
  pattern->colourMap = {{0.25f, {0, 0, 0}}, {0.75f, {1, 1, 1}}};
  ExpectOpaqueEverywhere(*WithPigment(pattern->Clone()));
  pattern->colourMap.push_back({0.9f, {1, 1, 1, 0, 0.5f}});
  EXPECT_TRUE(WithPigment(pattern->Clone())->LetsLightThrough());

  auto map = std::make_unique<PigmentMapPigment>();
  map->pattern = GradientX();
  EXPECT_TRUE(map->LetsLightThrough());  // an empty map writes a clear white
  map->entries.push_back({0.0f, std::make_unique<SolidPigment>(Colour{1, 0, 0})});
  map->entries.push_back({0.5f, std::make_unique<SolidPigment>(Colour{0, 0, 1})});
  ExpectOpaqueEverywhere(*WithPigment(map->Clone()));
  map->entries.push_back({0.8f, std::make_unique<SolidPigment>(Colour{0, 0, 1, 0.5f, 0})});
  EXPECT_TRUE(map->LetsLightThrough());

  auto checker = std::make_unique<CheckerPigment>();
  checker->colours = {{1, 0, 0}, {0, 1, 0, 0, 1}};
  EXPECT_TRUE(checker->LetsLightThrough());
  checker->pigments.emplace_back(std::make_unique<SolidPigment>(Colour{0, 0, 1}));
  checker->pigments.emplace_back(std::make_unique<SolidPigment>(Colour{0.5f, 0.5f, 0.5f}));
  ExpectOpaqueEverywhere(*WithPigment(checker->Clone()));  // the pigments hide the colours

  LayeredTexture layered;
  EXPECT_TRUE(layered.LetsLightThrough());  // no layer: everything passes
  layered.layers.emplace_back(Solid({1, 1, 1, 0, 0.7f}));
  EXPECT_TRUE(layered.LetsLightThrough());
  layered.layers.emplace_back(Solid({0.2f, 0.7f, 0.3f}));
  ExpectOpaqueEverywhere(layered);  // the opaque layer ends the stack

  BrickTexture bricks;
  bricks.block.brickSize = {1, 1, 1};
  bricks.entries.emplace_back(Solid({0.9f, 0.9f, 0.9f}));
  EXPECT_TRUE(bricks.LetsLightThrough());  // the bricks have no texture
  bricks.entries.emplace_back(Solid({0.6f, 0.1f, 0.1f}));
  ExpectOpaqueEverywhere(bricks);
  bricks.entries.front() = Solid({1, 1, 1, 0, 0.5f});
  EXPECT_TRUE(bricks.LetsLightThrough());

  TextureMap textures;
  textures.pattern = GradientX();
  EXPECT_TRUE(textures.LetsLightThrough());
  EXPECT_FALSE(textures.ReadsSurfaceCoordinates());  // an empty map shades nothing of its own
  textures.entries.push_back({0.0f, Solid({1, 0, 0})});
  textures.entries.push_back({1.0f, Solid({0, 0, 1})});
  ExpectOpaqueEverywhere(textures);
  textures.entries.push_back({0.5f, Solid({0, 1, 0, 0.5f, 0})});
  EXPECT_TRUE(textures.LetsLightThrough());
}

TEST(BlockTexture, ShadesTheSelectedTexture) {
  BrickTexture texture;
  texture.block.brickSize = {1, 1, 1};
  texture.block.mortar = 0.1;
  texture.entries.emplace_back(Solid({0.9f, 0.9f, 0.9f}));
  texture.entries.emplace_back(Solid({0.6f, 0.1f, 0.1f}));
  ShadingPoint mortar = At(0.5, -0.05, 0.5);
  ShadingPoint brick = At(0.5, 0.5, 0.25);
  SurfaceSample s{};
  texture.Shade(mortar, s);
  EXPECT_FLOAT_EQ(s.color[0], 0.9f);
  texture.Shade(brick, s);
  EXPECT_FLOAT_EQ(s.color[0], 0.6f);
}

// Records the lighting calls and lights a sample by halving its colour.
struct FakeLighting {
  static inline int calls = 0;
  static inline std::uint32_t lastFlags = 0;
  static inline double lastDepth = 0.0;
  static std::int32_t LUMETRA2_CALL ShadePoint(L2Scene scene, L2View view, std::uint32_t flags,
                                               const L2ShadingRecord* record, const SurfaceSample* sample,
                                               float colour[4]) {
    EXPECT_EQ(scene, 7u);
    EXPECT_EQ(view, 9u);
    ++calls;
    lastFlags = flags;
    lastDepth = record->depth;
    for (int c = 0; c < 3; ++c) colour[c] = sample->color[c] * 0.5f;
    colour[3] = sample->color[3];
    return L2_OK;
  }
  static Lighting Make() {
    calls = 0;
    return {7, 9, L2_SHADE_SHADOWS | L2_SHADE_TRANSMISSION, &FakeLighting::ShadePoint};
  }
};

TEST(TextureMap, LightsAndBlendsNeighbouringTextures) {
  TextureMap map(PatternId::kGradient);
  map.pattern = GradientX();
  map.lighting = FakeLighting::Make();
  map.entries.push_back({0.0f, Solid({1, 0, 0})});
  map.entries.push_back({1.0f, Solid({0, 0, 1})});
  ShadingPoint p = At(0.25, 0, 0);
  SurfaceSample s{};
  map.Shade(p, s);
  EXPECT_EQ(FakeLighting::calls, 2);
  EXPECT_EQ(FakeLighting::lastFlags, static_cast<std::uint32_t>(L2_SHADE_SHADOWS | L2_SHADE_TRANSMISSION));
  EXPECT_FLOAT_EQ(s.color[0], 0.75f * 0.5f);
  EXPECT_FLOAT_EQ(s.color[2], 0.25f * 0.5f);
  EXPECT_EQ(s.ambient, 0.0f);
  EXPECT_EQ(s.diffuse, 0.0f);
  EXPECT_EQ(s.emission, 1.0f);
  EXPECT_EQ(s.flags, 0u);
  // Beyond the last entry only that one is shaded.
  ShadingPoint beyond = At(0.9999, 0, 0);
  map.entries.pop_back();
  map.Shade(beyond, s);
  EXPECT_EQ(FakeLighting::calls, 3);
  EXPECT_FLOAT_EQ(s.color[0], 0.5f);
}

TEST(TextureMap, ALightingTheLibraryRefusesLeavesTheLayersUnlitAndSaysSoOnce) {
  TextureMap map(PatternId::kGradient);
  map.pattern = GradientX();
  map.lighting = {7, 0, 0,
                  [](L2Scene, L2View, std::uint32_t, const L2ShadingRecord*, const SurfaceSample*,
                     float*) -> std::int32_t { return L2_ERROR_HANDLE; }};
  map.entries.push_back({0.0f, Solid({1, 0, 0})});
  platform::DebugLog::Clear();
  for (int i = 0; i < 3; ++i) {
    ShadingPoint p = At(0.0, 0, 0);
    SurfaceSample s{};
    map.Shade(p, s);
    EXPECT_FLOAT_EQ(s.color[0], 1.0f);  // unlit
  }
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{"ShadePoint refused (-1): blended layers stay unlit\n"}));
}

TEST(LayeredTexture, WeightsEachLayerByWhatTheOneBeforeLetsThrough) {
  LayeredTexture layered;
  layered.indexOfRefraction = 1.5f;
  layered.lighting = FakeLighting::Make();
  // Top: red with filter 0.5 (opacity 0.5, lets (0.5, 0, 0) through); then blue with
  // transmit 0.2 (opacity 0.8).
  layered.layers.emplace_back(Solid({1, 0, 0, 0.5f, 0}));
  layered.layers.emplace_back(Solid({0, 0, 1, 0, 0.2f}));
  ShadingPoint p = At(0, 0, 0);
  SurfaceSample s{};
  layered.Shade(p, s);
  EXPECT_EQ(FakeLighting::calls, 2);
  EXPECT_EQ(FakeLighting::lastFlags, static_cast<std::uint32_t>(L2_SHADE_SHADOWS));
  EXPECT_EQ(FakeLighting::lastDepth, 1.0);
  EXPECT_FLOAT_EQ(s.color[0], 0.5f);         // weight 1
  EXPECT_FLOAT_EQ(s.color[2], 0.5f * 0.5f);  // weight 1 - 0.5
  EXPECT_EQ(s.color[3], 1.0f);
  EXPECT_FLOAT_EQ(s.transmission, 0.2f);  // 1 - 0.8
  EXPECT_FLOAT_EQ(s.transmitted_color[0], 0.5f * 0.2f);
  EXPECT_EQ(s.transmitted_color[1], 0.0f);
  EXPECT_EQ(s.flags, kSampleTransmission);
  EXPECT_FLOAT_EQ(s.ior, 1.5f);
  EXPECT_EQ(s.emission, 1.0f);
}

TEST(LayeredTexture, AnOpaqueLayerEndsTheStack) {
  LayeredTexture layered;
  layered.lighting = FakeLighting::Make();
  layered.layers.emplace_back(Solid({0, 1, 0}));
  layered.layers.emplace_back(Solid({1, 0, 0}));
  ShadingPoint p = At(0, 0, 0);
  SurfaceSample s{};
  s.transmission = 0.5f;
  layered.Shade(p, s);
  EXPECT_EQ(FakeLighting::calls, 1);
  EXPECT_FLOAT_EQ(s.color[1], 0.5f);
  EXPECT_EQ(s.transmission, 0.0f);
  EXPECT_EQ(s.flags, 0u);
}

TEST(Media, SumsDensitiesAndAddsHalfTheScatteringToAbsorption) {
  Media media;
  media.emission = {0.1f, 0.2f, 0.3f};
  media.scattering = {0.4f, 0.2f, 0.0f};
  media.absorption = {0.0f, 0.1f, 0.2f};
  ShadingPoint p = At(0, 0, 0);
  float density[3], emission[4] = {0, 0, 0, 9}, scattering[4], absorption[4];
  media.Evaluate(p, density, emission, scattering, absorption);
  EXPECT_EQ(density[0], 1.0f);
  EXPECT_FLOAT_EQ(emission[2], 0.3f);
  EXPECT_EQ(emission[3], 9.0f);
  EXPECT_FLOAT_EQ(absorption[0], 0.2f);
  EXPECT_FLOAT_EQ(absorption[1], 0.2f);
  media.extinctionSet = true;
  media.extinction = 0.5f;
  media.densities.emplace_back(std::make_unique<SolidPigment>(Colour{0.25f, 0.5f, 0.0f}));
  media.densities.emplace_back(std::make_unique<SolidPigment>(Colour{0.25f, 0.0f, 0.125f}));
  media.Evaluate(p, density, emission, scattering, absorption);
  EXPECT_FLOAT_EQ(density[0], 0.5f);
  EXPECT_FLOAT_EQ(density[2], 0.125f);
  EXPECT_FLOAT_EQ(absorption[0], 0.1f);
}

TEST(Callbacks, ShadeEvaluateAndFreeThroughTheLibrarysEntries) {
  auto* texture = Solid({0.3f, 0.2f, 0.1f}).release();
  ShadingPoint p = At(0, 0, 0);
  SurfaceSample s{};
  LumetraShadeTexture(&p, &s, texture);
  EXPECT_FLOAT_EQ(s.color[0], 0.3f);
  LumetraFreeTexture(texture);
  LumetraFreeTexture(nullptr);
  auto* media = new Media;
  media->emission = {0.5f, 0.5f, 0.5f};
  float density[3], emission[4], scattering[4], absorption[4];
  LumetraEvaluateMedia(&p, density, emission, scattering, absorption, media);
  EXPECT_EQ(emission[1], 0.5f);
  LumetraFreeMedia(media);
  LumetraFreeMedia(nullptr);
}

}  // namespace
}  // namespace lumetra::texture
