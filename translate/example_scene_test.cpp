// The materials of the every-kind test scene, read through the substitute host's functions,
// translate and shade.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "abi/result_codes.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "platform/debug_log.h"
#include "texture/block_texture.h"
#include "texture/image_list.h"
#include "texture/layered_texture.h"
#include "texture/pattern_pigment.h"
#include "texture/standard_texture.h"
#include "translate/texture_translator.h"

namespace lumetra::translate {

using namespace lumetra::texture;
namespace {

struct NullSink : TranslationSink {
  int tracked = 0;
  void Track(Target, const NodeRecord&) override { ++tracked; }
};

TEST(ExampleScene, MaterialsTranslateAndShade) {
  host::Scene scene = host::LoadScene(LUMETRA_TESTDATA_DIR "/scenes/every-kind/every-kind.json");
  host::HostContext context(scene);
  abi::SceneRecord record{};
  host::FillSceneRecord(record);
  NullSink sink;
  ImageList images;
  TextureTranslator translator(record, sink, images);
  HostNodes nodes(record);

  std::map<std::string, std::unique_ptr<Texture>> materials;
  std::vector<std::unique_ptr<Media>> media;
  std::uint32_t id = 0;
  for (std::int32_t i = 0; record.getChild(abi::kMaterialList, i, &id) == abi::kOk; ++i) {
    const std::unique_ptr<NodeRecord> material = nodes.Read(id);
    ASSERT_NE(material, nullptr);
    materials[material->info.name] = translator.TranslateMaterial(*material, media);
  }
  ASSERT_EQ(materials.size(), 6u);
  for (const auto& [name, texture] : materials) ASSERT_NE(texture, nullptr) << name;

  const auto& marble = dynamic_cast<const StandardTexture&>(*materials["Marble"]);
  ASSERT_NE(marble.pigment.get(), nullptr);
  const auto& marblePigment = dynamic_cast<const PatternPigment&>(*marble.pigment);
  EXPECT_EQ(marblePigment.pattern.id, PatternId::kMarble);
  EXPECT_TRUE(marblePigment.Noise().turbulenceOn);
  EXPECT_EQ(marblePigment.colourMap.size(), 3u);
  EXPECT_NE(dynamic_cast<const BrickTexture*>(materials["Bricks"].get()), nullptr);
  EXPECT_NE(dynamic_cast<const LayeredTexture*>(materials["Layers"].get()), nullptr);
  ASSERT_EQ(media.size(), 1u);
  EXPECT_EQ(media[0]->intervals, 5);
  EXPECT_GE(sink.tracked, 3);  // two finishes, the noise modifiers, the media colours

  for (const auto& [name, texture] : materials) {
    for (int n = 0; n < 50; ++n) {
      ShadingPoint p{};
      p.point[0] = n * 0.173 - 4.0;
      p.point[1] = n * 0.091;
      p.point[2] = 2.0 - n * 0.05;
      p.normal[1] = 1.0;
      p.weight = 1.0;
      SurfaceSample s{};
      texture->Shade(p, s);
      for (int c = 0; c < 4; ++c) {
        EXPECT_TRUE(std::isfinite(s.color[c])) << name;
        EXPECT_GE(s.color[c], 0.0f) << name;  // unlit layers may sum above 1
      }
      EXPECT_NEAR(std::hypot(p.normal[0], p.normal[1], p.normal[2]), 1.0, 1e-9) << name;
    }
  }
}

}  // namespace
}  // namespace lumetra::translate
