#include "translate/texture_translator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>
#include <numbers>

#include "abi/result_codes.h"
#include "platform/debug_log.h"
#include "platform/testing/recording_messages.h"
#include "texture/black_hole_warp.h"
#include "texture/block_normal.h"
#include "texture/block_pigment.h"
#include "texture/block_texture.h"
#include "texture/image_list.h"
#include "texture/layered_texture.h"
#include "texture/pattern_normal.h"
#include "texture/pattern_pigment.h"
#include "texture/pigment_map_pigment.h"
#include "texture/repeat_warp.h"
#include "texture/solid_pigment.h"
#include "texture/standard_texture.h"
#include "texture/surface_sample.h"
#include "texture/texture_map.h"
#include "texture/transform_warp.h"
#include "texture/turbulence_warp.h"
#include "translate/testing/fake_texture_host.h"

namespace lumetra::translate {

using namespace lumetra::texture;
namespace {

using translate::testing::FakeTextureHost;

struct RecordingSink : TranslationSink {
  std::vector<std::pair<std::size_t, std::uint32_t>> tracked;  // variant index, node id
  void Track(Target target, const NodeRecord& node) override {
    tracked.emplace_back(target.index(), node.id);
  }
};

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::DebugLog::Clear(); }

  std::uint32_t Colour(std::uint32_t kind, std::uint32_t parent, double r, double g, double b,
                       double filter = 0, double transmit = 0) {
    const std::uint32_t id = host.Add(kind, parent);
    host.Params(id).color = {r, g, b, filter, transmit};
    return id;
  }
  std::unique_ptr<Texture> Material(std::uint32_t material) {
    const std::unique_ptr<NodeRecord> record = HostNodes(host.Record()).Read(material);
    return translator.TranslateMaterial(*record, media);
  }
  // The shading point (with the normal the texture left) and the sample after shading.
  static std::pair<ShadingPoint, SurfaceSample> Shaded(const Texture& texture, double x, double y, double z) {
    std::pair<ShadingPoint, SurfaceSample> result{};
    ShadingPoint& p = result.first;
    p.point[0] = x;
    p.point[1] = y;
    p.point[2] = z;
    p.normal[2] = 1.0;
    texture.Shade(p, result.second);
    return result;
  }
  static SurfaceSample ShadeAt(const Texture& texture, double x, double y, double z) {
    return Shaded(texture, x, y, z).second;
  }

  FakeTextureHost host;
  RecordingSink sink;
  ImageList images;
  TextureTranslator translator{host.Record(), sink, images};
  std::vector<std::unique_ptr<Media>> media;
};

TEST_F(TranslatorTest, AnInteriorAloneGivesAPlainTextureWithItsIndexAndMedia) {
  const std::uint32_t material = host.Add(abi::kNodeMaterial);
  const std::uint32_t interior = host.Add(abi::kNodeInterior, material);
  host.Params(interior).interior.ior = 1.33;
  const std::uint32_t medium = host.Add(abi::kNodeMedia, interior, "Fog");
  host.Params(medium).media.intervals = 5;
  host.Params(medium).media.methodSet = 1;
  host.Params(medium).media.method = 3;
  const std::uint32_t emission = Colour(abi::kNodeEmission, medium, 0.1, 0.2, 0.3);
  Colour(abi::kNodeDensity, medium, 0, 0, 0);  // a [density] wrapping nothing
  host.Add(abi::kNodeFinish, medium);

  const std::unique_ptr<Texture> texture = Material(material);
  ASSERT_NE(texture, nullptr);
  const SurfaceSample s = ShadeAt(*texture, 1, 2, 3);
  EXPECT_EQ(s.color[0], 1.0f);
  EXPECT_EQ(s.color[3], 1.0f);
  EXPECT_FLOAT_EQ(s.ambient, 0.1f);
  EXPECT_FLOAT_EQ(s.diffuse, 0.6f);
  EXPECT_FLOAT_EQ(s.ior, 1.33f);
  ASSERT_EQ(media.size(), 1u);
  EXPECT_EQ(media[0]->name, "Fog");
  EXPECT_EQ(media[0]->intervals, 5);
  EXPECT_EQ(media[0]->method, 3);
  EXPECT_FLOAT_EQ(media[0]->emission[2], 0.3f);
  EXPECT_EQ(sink.tracked, (std::vector<std::pair<std::size_t, std::uint32_t>>{{2, emission}}));
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{"Density\n", "Unknown Media Component\n"}));
  EXPECT_EQ(host.OpenLists(), 0);
}

TEST_F(TranslatorTest, StandardTextureComponents) {
  const std::uint32_t material = host.Add(abi::kNodeMaterial);
  host.Add(abi::kNodeComment, material);
  const std::uint32_t standard = host.Add(abi::kNodeStandardTexture, material);
  const std::uint32_t pigment = host.Add(abi::kNodePigment, standard);
  Colour(abi::kNodeSolidColor, pigment, 0.8, 0.4, 0.2, 0.0, 0.5);
  host.Add(abi::kNodeNormal, standard);  // no children: no normal
  const std::uint32_t finish = host.Add(abi::kNodeFinish, standard);
  host.Params(finish).finish = {0.3, 0.7, 0.0, 0.5, 40.0, 0.2, 0.05, 0.0, 0, 1, 0.25};
  Colour(abi::kNodeAmbientColor, finish, 0.2, 0.3, 0.4);
  for (int i = 0; i < 2; ++i) {
    const std::uint32_t transform = host.Add(abi::kNodeTransform, standard);
    host.Params(transform).transform = {{2, 2, 2}, {0, 0, 0}, {1, 0, 0}};
  }
  host.Add(abi::kNodeComment, standard);
  host.Add(abi::kNodeNoiseModifiers, standard);
  host.Add(abi::kNodeInterior, material);  // ior 0 stays as given
  const std::unique_ptr<Texture> texture = Material(material);
  ASSERT_NE(texture, nullptr);
  const auto& standardTexture = dynamic_cast<const StandardTexture&>(*texture);
  EXPECT_NE(standardTexture.pigment.get(), nullptr);
  EXPECT_EQ(standardTexture.normal.get(), nullptr);
  // Two transforms accumulate into one transform warp, x -> (x * 2 + 1) * 2 + 1, which
  // the warp undoes.
  ASSERT_EQ(texture->Warps().size(), 1u);
  EXPECT_EQ(texture->TransformPoint({7, 4, 0}), (math::Vector3{1, 1, 0}));
  EXPECT_EQ(sink.tracked.size(), 1u);
  EXPECT_EQ(platform::DebugLog::Lines(), (std::vector<std::string>{"Unknown texture component\n"}));

  const SurfaceSample s = ShadeAt(*texture, 7, 4, 0);
  EXPECT_FLOAT_EQ(s.color[3], 0.5f);
  EXPECT_FLOAT_EQ(s.ambient, 0.15f);
  EXPECT_FLOAT_EQ(s.diffuse, 0.35f);
  EXPECT_FLOAT_EQ(s.phong, 0.5f);
  EXPECT_FLOAT_EQ(s.phong_size, 40.0f);
  EXPECT_FLOAT_EQ(s.specular, 0.2f);
  EXPECT_FLOAT_EQ(s.specular_exponent, 20.0f);
  EXPECT_FLOAT_EQ(s.metallic, 0.25f);
  EXPECT_FLOAT_EQ(s.ambient_color[1], 0.3f);
  EXPECT_EQ(s.flags, kSampleAmbientColour | kSampleTransmission);
  EXPECT_EQ(s.ior, 0.0f);
}

TEST_F(TranslatorTest, TheSmootherTheFinishTheSharperItsHighlightRoughnessZeroSharpestOfAll) {
  const auto exponentOf = [this](double roughness) {
    const std::uint32_t standard = host.Add(abi::kNodeStandardTexture);
    const std::uint32_t finish = host.Add(abi::kNodeFinish, standard);
    host.Params(finish).finish.roughness = roughness;
    return ShadeAt(*translator.TranslateTexture(standard), 0, 0, 0).specular_exponent;
  };
  EXPECT_FLOAT_EQ(exponentOf(0.5), 2.0f);
  EXPECT_GT(exponentOf(0.001), exponentOf(0.05));
  EXPECT_FLOAT_EQ(exponentOf(0.0), 10000.0f);
  EXPECT_FLOAT_EQ(exponentOf(1e-9), 10000.0f);
  EXPECT_FLOAT_EQ(exponentOf(-1.0), 1.0f);
}

TEST_F(TranslatorTest, OnlyAFinishWithAReflectionColourReflects) {
  const auto reflectionOf = [this](bool named) {
    const std::uint32_t standard = host.Add(abi::kNodeStandardTexture);
    const std::uint32_t finish = host.Add(abi::kNodeFinish, standard);
    if (named) Colour(abi::kNodeReflectionColor, finish, 0.3, 0.2, 0.1);
    return ShadeAt(*translator.TranslateTexture(standard), 0, 0, 0);
  };
  const SurfaceSample plain = reflectionOf(false);
  EXPECT_EQ(plain.flags & kSampleReflection, 0u);
  const SurfaceSample mirror = reflectionOf(true);
  EXPECT_EQ(mirror.flags & kSampleReflection, kSampleReflection);
  EXPECT_FLOAT_EQ(mirror.reflection_color[0], 0.3f);
  EXPECT_FLOAT_EQ(mirror.reflection_color[2], 0.1f);
}

TEST_F(TranslatorTest, IdentityTransformLeavesPointsAlone) {
  const std::uint32_t standard = host.Add(abi::kNodeStandardTexture);
  const std::uint32_t transform = host.Add(abi::kNodeTransform, standard);
  host.Params(transform).transform = {{1, 1, 1}, {0, 0, 0}, {0, 0, 0}};
  const std::unique_ptr<Texture> texture = translator.TranslateTexture(standard);
  EXPECT_EQ(texture->TransformPoint({0.25, -3, 9}), (math::Vector3{0.25, -3, 9}));
}

TEST_F(TranslatorTest, RotationIsByMinusTheAngles) {
  const std::uint32_t standard = host.Add(abi::kNodeStandardTexture);
  const std::uint32_t transform = host.Add(abi::kNodeTransform, standard);
  host.Params(transform).transform = {{1, 1, 1}, {0, 0, 90}, {0, 0, 0}};
  const std::unique_ptr<Texture> texture = translator.TranslateTexture(standard);
  math::Transform expected;
  expected.RotateEuler(0, 0, -std::numbers::pi / 2);
  const math::Vector3 p = texture->TransformPoint({1, 0, 0});
  const math::Vector3 q = expected.InverseTransformPoint({1, 0, 0});
  EXPECT_NEAR(p.x, q.x, 1e-15);
  EXPECT_NEAR(p.y, q.y, 1e-15);
}

TEST_F(TranslatorTest, ChildListsThatCannotBeHad) {
  const std::uint32_t standard = host.Add(abi::kNodeStandardTexture);
  host.RefuseChildList(standard);
  EXPECT_EQ(translator.TranslateTexture(standard), nullptr);
  const std::uint32_t material = host.Add(abi::kNodeMaterial);
  host.RefuseChildList(material);
  EXPECT_EQ(Material(material), nullptr);
  EXPECT_EQ(translator.TranslateTexture(host.Add(abi::kNodeFinish)), nullptr);
  EXPECT_EQ(translator.TranslateTexture(9999), nullptr);
  const std::uint32_t notMaterial = host.Add(abi::kNodeStandardTexture);
  EXPECT_EQ(Material(notMaterial), nullptr);
}

TEST_F(TranslatorTest, PatternPigmentTakesItsColourMapAndPatternParameters) {
  const std::uint32_t node = host.Add(abi::kNodePatternPigment);
  abi::PatternParams& params = host.Params(node).pattern;
  params.pattern = 3;  // gradient
  params.gradient[0] = 1.0;
  params.extra = 77;
  params.colorMapCount = 40;  // only 25 are taken
  for (std::uint32_t i = 0; i < abi::kMaxColorMapEntries; ++i) {
    params.colorMap[i] = {i / 24.0, i / 24.0, 0, 0, 0, 0};
  }
  const std::unique_ptr<Pigment> pigment = translator.TranslatePigment(node);
  const auto& patterned = dynamic_cast<const PatternPigment&>(*pigment);
  EXPECT_EQ(patterned.pattern.id, PatternId::kGradient);
  EXPECT_EQ(patterned.pattern.params.extra, 77);
  EXPECT_EQ(patterned.colourMap.size(), 25u);
  ShadingPoint p{};
  p.point[0] = 0.3;
  SurfaceSample s{};
  pigment->Eval(p, s);
  EXPECT_FLOAT_EQ(s.color[0], 0.3f);
  EXPECT_EQ(s.color[1], 0.0f);
}

TEST_F(TranslatorTest, NoiseModifiersGoIntoMarbleButWarpOtherPatterns) {
  auto modifiers = [&](std::uint32_t parent, std::uint32_t perAxis) {
    const std::uint32_t id = host.Add(abi::kNodeNoiseModifiers, parent);
    host.Params(id).noise = {perAxis, 0.4, {0.1, 0.2, 0.3}, 4, 0.6, 2.5, 3.0, 0.25, 2};
    return id;
  };
  const std::uint32_t marble = host.Add(abi::kNodePatternPigment);
  host.Params(marble).pattern.pattern = 7;
  const std::uint32_t first = modifiers(marble, 0);
  const std::unique_ptr<Pigment> marblePigment = translator.TranslatePigment(marble);
  const NoiseParams& noise = marblePigment->Noise();
  EXPECT_TRUE(noise.turbulenceOn);
  EXPECT_EQ(noise.turbulenceX, 0.4);
  EXPECT_EQ(noise.turbulenceZ, 0.4);
  EXPECT_EQ(noise.octaves, 4);
  EXPECT_EQ(noise.lambda, 2.5);
  EXPECT_EQ(noise.frequency, 3.0);
  EXPECT_EQ(noise.phase, 0.25);
  EXPECT_EQ(noise.waveShape, 2);
  EXPECT_TRUE(marblePigment->Warps().empty());

  const std::uint32_t bozo = host.Add(abi::kNodePatternPigment);
  host.Params(bozo).pattern.pattern = 1;
  const std::uint32_t second = modifiers(bozo, 1);
  const std::unique_ptr<Pigment> bozoPigment = translator.TranslatePigment(bozo);
  EXPECT_FALSE(bozoPigment->Noise().turbulenceOn);
  ASSERT_EQ(bozoPigment->Warps().size(), 1u);
  const auto& warp = dynamic_cast<const TurbulenceWarp&>(*bozoPigment->Warps()[0]);
  EXPECT_EQ(warp.turbulence, (math::Vector3{0.1, 0.2, 0.3}));
  EXPECT_EQ(warp.octaves, 4);
  EXPECT_EQ(warp.omega, 0.6);
  EXPECT_EQ(bozoPigment->Noise().frequency, 3.0);
  EXPECT_EQ(sink.tracked, (std::vector<std::pair<std::size_t, std::uint32_t>>{{1, first}, {1, second}}));
}

TEST_F(TranslatorTest, WarpNodesOfEachKind) {
  const std::uint32_t node = host.Add(abi::kNodePatternPigment);
  const std::uint32_t hole = host.Add(abi::kNodeWarp, node);
  host.Params(hole).warp.warp = 0;
  host.Params(hole).warp.radius = 2.0;
  host.Params(hole).warp.repeat[1] = 1.0;
  host.Params(hole).warp.inverse = 1;
  const std::uint32_t repeat = host.Add(abi::kNodeWarp, node);
  host.Params(repeat).warp.warp = 1;
  host.Params(repeat).warp.width[1] = 0.5;
  host.Params(repeat).warp.flip[2] = 1.0;
  const std::uint32_t turbulence = host.Add(abi::kNodeWarp, node);
  host.Params(turbulence).warp.warp = 2;
  host.Params(turbulence).warp.octaves = 3;
  host.Add(abi::kNodeWarp, node);
  host.Params(node + 4).warp.warp = 7;  // unknown: no warp
  const std::unique_ptr<Pigment> pigment = translator.TranslatePigment(node);
  ASSERT_EQ(pigment->Warps().size(), 3u);
  const auto& blackHole = dynamic_cast<const BlackHoleWarp&>(*pigment->Warps()[0]);
  EXPECT_EQ(blackHole.radius, 2.0);
  EXPECT_TRUE(blackHole.inverse);
  EXPECT_TRUE(blackHole.Repeats());
  EXPECT_FALSE(blackHole.Jitters());
  const auto& repeatWarp = dynamic_cast<const RepeatWarp&>(*pigment->Warps()[1]);
  EXPECT_EQ(repeatWarp.axis, 1);
  EXPECT_EQ(repeatWarp.width, 0.5);
  EXPECT_EQ(repeatWarp.flip, (math::Vector3{1, 1, -1}));
  EXPECT_EQ(dynamic_cast<const TurbulenceWarp&>(*pigment->Warps()[2]).octaves, 3);
}

TEST_F(TranslatorTest, MapsTakeTheirEntries) {
  const std::uint32_t map = host.Add(abi::kNodeTextureMap);
  host.Params(map).pattern.pattern = 3;
  host.Params(map).pattern.gradient[0] = 1.0;
  for (double value : {0.0, 1.0}) {
    const std::uint32_t entry = host.Add(abi::kNodeMapEntry, map);
    host.Params(entry).mapEntry.value = value;
    const std::uint32_t standard = host.Add(abi::kNodeStandardTexture, entry);
    Colour(abi::kNodeSolidColor, host.Add(abi::kNodePigment, standard), value, 0, 1 - value);
  }
  host.Add(abi::kNodeMapEntry, map);  // an entry without a child is dropped
  sink.lighting.scene = 3;
  const std::unique_ptr<Texture> texture = translator.TranslateTexture(map);
  const auto& textureMap = dynamic_cast<const TextureMap&>(*texture);
  EXPECT_EQ(textureMap.entries.size(), 2u);
  EXPECT_EQ(textureMap.lighting.scene, 3u);
  const SurfaceSample s = ShadeAt(*texture, 0.25, 0, 0);
  EXPECT_FLOAT_EQ(s.color[0], 0.25f);
  EXPECT_FLOAT_EQ(s.color[2], 0.75f);

  const std::uint32_t entries = host.Add(abi::kNodePigmentMapAlt);
  const std::uint32_t entry = host.Add(abi::kNodeMapEntry, entries);
  Colour(abi::kNodeSolidColor, entry, 1, 1, 0);
  EXPECT_EQ(dynamic_cast<const PigmentMapPigment&>(*translator.TranslatePigment(entries)).entries.size(), 1u);
}

TEST_F(TranslatorTest, BlocksLayersAndNormals) {
  const std::uint32_t block = host.Add(abi::kNodeBlockPigment);
  host.Params(block).block.block = 2;
  host.Params(block).block.brickSize[0] = host.Params(block).block.brickSize[1] =
      host.Params(block).block.brickSize[2] = 1.0;
  host.Params(block).block.mortar = 0.1;
  host.Params(block).block.colors[0][0] = 0.9;
  host.Params(block).block.colors[1][0] = 0.4;
  const std::unique_ptr<Pigment> brick = translator.TranslatePigment(block);
  const auto& bricks = dynamic_cast<const BrickPigment&>(*brick);
  EXPECT_EQ(bricks.colours.size(), 2u);
  EXPECT_FLOAT_EQ(bricks.colours[1].red, 0.4f);
  EXPECT_EQ(bricks.block.mortar, 0.1);
  // Mortar 0 asks for none: a face of bricks a unit wide is brick all over.
  host.Params(block).block.mortar = 0.0;
  const std::unique_ptr<Pigment> plain = translator.TranslatePigment(block);
  const BlockPattern& noMortar = dynamic_cast<const BrickPigment&>(*plain).block;
  int brickPoints = 0;
  for (double x = 0.05; x < 2; x += 0.1) {
    for (double y = 0.05; y < 2; y += 0.1) brickPoints += noMortar.Index({x, y, 0.5});
  }
  EXPECT_EQ(brickPoints, 400);

  const std::uint32_t badBlock = host.Add(abi::kNodeBlockPigment);
  host.Params(badBlock).block.block = 5;
  EXPECT_EQ(translator.TranslatePigment(badBlock), nullptr);
  const std::uint32_t badNormal = host.Add(abi::kNodeBlockNormal);
  host.Params(badNormal).block.block = 3;
  EXPECT_EQ(translator.TranslateNormal(badNormal), nullptr);

  const std::uint32_t layered = host.Add(abi::kNodeLayeredTexture);
  host.Add(abi::kNodeStandardTexture, layered);
  const std::uint32_t checker = host.Add(abi::kNodeBlockTexture, layered);
  host.Add(abi::kNodeStandardTexture, checker);
  host.Add(abi::kNodeStandardTexture, checker);
  const std::unique_ptr<Texture> texture = translator.TranslateTexture(layered);
  const auto& layers = dynamic_cast<const LayeredTexture&>(*texture);
  ASSERT_EQ(layers.layers.size(), 2u);
  EXPECT_EQ(dynamic_cast<const CheckerTexture&>(*layers.layers[1]).entries.size(), 2u);

  const std::uint32_t normal = host.Add(abi::kNodeNormal);
  const std::uint32_t bumpSize = host.Add(abi::kNodeBumpSize, normal);
  host.Params(bumpSize).bumpSize.amount = 0.75;
  const std::uint32_t pattern = host.Add(abi::kNodePatternNormal, normal);
  host.Params(pattern).pattern.pattern = 14;  // bumps
  host.Add(abi::kNodeFinish, normal);
  const std::unique_ptr<Normal> translated = translator.TranslateNormal(normal);
  const auto& patternNormal = dynamic_cast<const PatternNormal&>(*translated);
  EXPECT_EQ(patternNormal.pattern.id, PatternId::kBumps);
  EXPECT_EQ(patternNormal.bump.amount, 0.75f);
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{"Didn't handle block pattern pigment\n",
                                      "Didn't handle block pattern normal\n", "Unhandled normal type\n"}));
  EXPECT_EQ(host.OpenLists(), 0);
}

TEST_F(TranslatorTest, NoiseModifiersBesideAPatternActAsInsideIt) {
  // The same marble pigment and wood normal, with noise modifiers inside the pattern or
  // beside it in the wrapper.
  const auto noiseIn = [&](std::uint32_t parent) {
    host.Params(host.Add(abi::kNodeNoiseModifiers, parent)).noise = {0, 0.4, {}, 4, 0.6, 2.5, 3.0, 0.25, 2};
  };
  const auto wrapped = [&](std::uint32_t wrapperKind, std::uint32_t patternKind, std::uint32_t pattern,
                           bool inside) {
    const std::uint32_t wrapper = host.Add(wrapperKind);
    const std::uint32_t shaped = host.Add(patternKind, wrapper);
    host.Params(shaped).pattern.pattern = pattern;
    noiseIn(inside ? shaped : wrapper);
    return wrapper;
  };
  const auto marble = [&](bool inside) {
    return translator.TranslatePigment(wrapped(abi::kNodePigment, abi::kNodePatternPigment, 7, inside));
  };
  const auto wood = [&](bool inside) {
    return translator.TranslateNormal(wrapped(abi::kNodeNormal, abi::kNodePatternNormal, 13, inside));
  };
  const std::unique_ptr<Pigment> inside = marble(true), beside = marble(false);
  EXPECT_TRUE(beside->Noise().turbulenceOn);
  EXPECT_EQ(beside->Warps().size(), inside->Warps().size());
  for (const double x : {0.1, 0.7, 1.3}) {
    ShadingPoint a{}, b{};
    a.point[0] = b.point[0] = x;
    SurfaceSample sa{}, sb{};
    inside->Eval(a, sa);
    beside->Eval(b, sb);
    EXPECT_EQ(sa.color[0], sb.color[0]) << x;
  }
  const std::unique_ptr<Normal> insideNormal = wood(true), besideNormal = wood(false);
  EXPECT_TRUE(besideNormal->Noise().turbulenceOn);
  EXPECT_EQ(besideNormal->Warps().size(), insideNormal->Warps().size());
}

TEST_F(TranslatorTest, UnknownPatternSubKindGivesAgate) {
  const std::uint32_t node = host.Add(abi::kNodePatternNormal);
  host.Params(node).pattern.pattern = 40;
  const std::unique_ptr<Normal> normal = translator.TranslateNormal(node);
  EXPECT_EQ(dynamic_cast<const PatternNormal&>(*normal).pattern.id, PatternId::kAgate);
  EXPECT_EQ(platform::DebugLog::Lines(), (std::vector<std::string>{"Unknown noise pattern\n"}));
}

// ---- image-bearing nodes -------------------------------------------------------------------

namespace fs = std::filesystem;

// FindFile over one folder: completes names of files that exist there and remembers the
// kinds it was asked for.
struct FolderFinder {
  static inline fs::path folder;
  static inline std::vector<std::int32_t> kinds;
  static std::int32_t LUMETRA_STDCALL Find(std::int32_t kind, char* path) {
    kinds.push_back(kind);
    const fs::path full = folder / path;
    if (!fs::exists(full)) return abi::kNotFound;
    std::snprintf(path, abi::kMaxPath, "%s", full.c_str());
    return abi::kOk;
  }
};

// An uncompressed 2 x 1 TGA: true colour from blue, green, red triples, or palette
// indices into `palette` when it is given.
void WriteTga(const fs::path& path, const std::vector<std::uint8_t>& pixels,
              const std::vector<std::uint8_t>& palette = {}) {
  const bool mapped = !palette.empty();
  const auto entries = static_cast<std::uint8_t>(palette.size() / 3);
  std::vector<std::uint8_t> tga = {0,
                                   mapped ? std::uint8_t{1} : std::uint8_t{0},
                                   mapped ? std::uint8_t{1} : std::uint8_t{2},
                                   0,
                                   0,
                                   entries,
                                   0,
                                   mapped ? std::uint8_t{24} : std::uint8_t{0},
                                   0,
                                   0,
                                   0,
                                   0,
                                   2,
                                   0,
                                   1,
                                   0,
                                   mapped ? std::uint8_t{8} : std::uint8_t{24},
                                   0};
  tga.insert(tga.end(), palette.begin(), palette.end());
  tga.insert(tga.end(), pixels.begin(), pixels.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(tga.data()), static_cast<std::streamsize>(tga.size()));
}

class ImageNodeTest : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    FolderFinder::folder = fs::temp_directory_path() / ("lumetra_image_nodes_" + std::to_string(::getpid()));
    fs::create_directories(FolderFinder::folder);
    FolderFinder::kinds.clear();
    WriteTga(FolderFinder::folder / "red_blue.tga", {0, 0, 255, 255, 0, 0});
    WriteTga(FolderFinder::folder / "black_white.tga", {0, 0, 0, 255, 255, 255});
    // Indices 2 and 3: a material map of two textures must wrap them to 0 and 1.
    WriteTga(FolderFinder::folder / "indices.tga", {2, 3}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    std::ofstream(FolderFinder::folder / "notes.png") << "not an image at all";
  }
  void TearDown() override { fs::remove_all(FolderFinder::folder); }

  static abi::SceneRecord WithFinder(const abi::SceneRecord& record) {
    abi::SceneRecord withFinder = record;
    withFinder.findFile = &FolderFinder::Find;
    return withFinder;
  }
  std::uint32_t ImageNode(std::uint32_t kind, std::uint32_t parent, const char* file, bool once = false) {
    const std::uint32_t id = host.Add(kind, parent);
    std::snprintf(host.Params(id).image.file, sizeof(host.Params(id).image.file), "%s", file);
    host.Params(id).image.once = once ? 1 : 0;
    return id;
  }
  // A [material] whose [standard texture] wears an image map; returns the [image map].
  std::uint32_t ImageMapMaterial(std::uint32_t& material, const char* file, bool once = false) {
    material = host.Add(abi::kNodeMaterial);
    const std::uint32_t texture = host.Add(abi::kNodeStandardTexture, material);
    return ImageNode(abi::kNodeImageMap, host.Add(abi::kNodePigment, texture), file, once);
  }
  std::unique_ptr<Texture> Translate(std::uint32_t material) {
    const std::unique_ptr<NodeRecord> record = HostNodes(host.Record()).Read(material);
    return imaging.TranslateMaterial(*record, media);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const platform::MessageRequest& call : messages.Calls()) texts.push_back(call.text);
    return texts;
  }

  abi::SceneRecord record = WithFinder(host.Record());
  TextureTranslator imaging{record, sink, images};
  platform::RecordingMessages messages;
};

TEST_F(ImageNodeTest, ImageMapColoursByPixelAndKeepsItsModifiers) {
  std::uint32_t material = 0;
  const std::uint32_t imageMap = ImageMapMaterial(material, "red_blue.tga");
  host.Add(abi::kNodeBitmapModifiers, imageMap);
  const std::uint32_t shift = host.Add(abi::kNodeTransform, imageMap);
  host.Params(shift).transform = {{1, 1, 1}, {0, 0, 0}, {0.5, 0, 0}};
  const std::unique_ptr<Texture> result = Translate(material);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(FolderFinder::kinds, std::vector<std::int32_t>{abi::kFindImageMap});
  EXPECT_EQ(images.Size(), 1u);
  // Shifted by half the image: x 0.75 reads the left (red) pixel, x 1.25 the right one.
  SurfaceSample left = ShadeAt(*result, 0.75, 0.5, 0);
  EXPECT_FLOAT_EQ(left.color[0], 1.0f);
  EXPECT_FLOAT_EQ(left.color[2], 0.0f);
  SurfaceSample right = ShadeAt(*result, 1.25, 0.5, 0);
  EXPECT_FLOAT_EQ(right.color[0], 0.0f);
  EXPECT_FLOAT_EQ(right.color[2], 1.0f);
  EXPECT_TRUE(platform::DebugLog::Lines().empty());
  EXPECT_EQ(messages.Count(), 0u);

  // Once-only: outside the image the colour is white.
  std::uint32_t onceMaterial = 0;
  ImageMapMaterial(onceMaterial, "red_blue.tga", true);
  const std::unique_ptr<Texture> once = Translate(onceMaterial);
  ASSERT_NE(once, nullptr);
  const SurfaceSample outside = ShadeAt(*once, 1.25, 0.5, 0);
  EXPECT_FLOAT_EQ(outside.color[1], 1.0f);
  EXPECT_FLOAT_EQ(ShadeAt(*once, 0.25, 0.5, 0).color[1], 0.0f);
}

TEST_F(ImageNodeTest, MaterialMapPicksTexturesByPixelValueModuloTheirCount) {
  const std::uint32_t material = host.Add(abi::kNodeMaterial);
  const std::uint32_t map = ImageNode(abi::kNodeMaterialMap, material, "indices.tga");
  for (const double green : {0.0, 1.0}) {
    const std::uint32_t entry = host.Add(abi::kNodeStandardTexture, map);
    Colour(abi::kNodeSolidColor, host.Add(abi::kNodePigment, entry), 1.0 - green, green, 0);
  }
  host.Add(abi::kNodeComment, map);
  host.Add(abi::kNodeBitmapModifiers, map);
  const std::unique_ptr<Texture> result = Translate(material);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(FolderFinder::kinds, std::vector<std::int32_t>{abi::kFindImageMap});
  EXPECT_FLOAT_EQ(ShadeAt(*result, 0.25, 0.5, 0).color[0], 1.0f);  // index 2: the first texture
  EXPECT_FLOAT_EQ(ShadeAt(*result, 0.75, 0.5, 0).color[1], 1.0f);  // index 3: the second
  EXPECT_TRUE(platform::DebugLog::Lines().empty());
}

TEST_F(ImageNodeTest, BumpMapTiltsTheNormalByItsBumpSize) {
  // Three materials: no [bump size], a zero one inside the bump map, a zero one beside it.
  std::vector<std::unique_ptr<Texture>> textures;
  for (int variant = 0; variant < 3; ++variant) {
    const std::uint32_t material = host.Add(abi::kNodeMaterial);
    const std::uint32_t normal = host.Add(abi::kNodeNormal, host.Add(abi::kNodeStandardTexture, material));
    const std::uint32_t bump = ImageNode(abi::kNodeBumpMap, normal, "black_white.tga");
    if (variant > 0)
      host.Params(host.Add(abi::kNodeBumpSize, variant == 1 ? bump : normal)).bumpSize.amount = 0.0;
    textures.push_back(Translate(material));
    ASSERT_NE(textures.back(), nullptr);
  }
  EXPECT_EQ(FolderFinder::kinds, std::vector<std::int32_t>(3, abi::kFindBumpMap));
  EXPECT_LT(Shaded(*textures[0], 0.25, 0.5, 0).first.normal[2], 0.99);  // black next to white
  EXPECT_DOUBLE_EQ(Shaded(*textures[1], 0.25, 0.5, 0).first.normal[2], 1.0);
  EXPECT_DOUBLE_EQ(Shaded(*textures[2], 0.25, 0.5, 0).first.normal[2], 1.0);
  EXPECT_TRUE(platform::DebugLog::Lines().empty());
}

TEST_F(ImageNodeTest, ImagesThatCannotBeHadAreReportedAndYieldNothing) {
  std::uint32_t missing = 0;
  ImageMapMaterial(missing, "nowhere.png");
  const std::unique_ptr<Texture> plain = Translate(missing);
  ASSERT_NE(plain, nullptr);  // the standard texture stays, without a pigment
  EXPECT_EQ(dynamic_cast<StandardTexture&>(*plain).pigment.get(), nullptr);

  std::uint32_t unreadable = 0;
  ImageMapMaterial(unreadable, "notes.png");
  Translate(unreadable);

  const std::uint32_t bumpMaterial = host.Add(abi::kNodeMaterial);
  ImageNode(abi::kNodeBumpMap, host.Add(abi::kNodeNormal, host.Add(abi::kNodeStandardTexture, bumpMaterial)),
            "hills.png");
  Translate(bumpMaterial);

  const std::uint32_t emptyMap = host.Add(abi::kNodeMaterial);
  ImageNode(abi::kNodeMaterialMap, emptyMap, "indices.tga");
  EXPECT_EQ(Translate(emptyMap), nullptr);

  EXPECT_EQ(MessageTexts(),
            (std::vector<std::string>{
                "Can't find image: 'nowhere.png'",
                "Unsupported image format in [" + (FolderFinder::folder / "notes.png").string() + "]",
                "Can't find bump map: 'hills.png'", "No textures in material map"}));
  EXPECT_EQ(images.Size(), 1u);  // only the material map's image loaded
}

}  // namespace
}  // namespace lumetra::translate
