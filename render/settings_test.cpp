// Render and animation settings against a registry in a scratch directory.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"
#include "render/animation_settings.h"
#include "render/render_method.h"
#include "render/render_settings.h"
#include "render/settings_store.h"

namespace lumetra {
namespace {

using platform::RegistryAccess;
using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegType;
using render::AnimationSettings;
using render::RenderMethod;
using render::RenderSettings;

constexpr const char* kBase = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\";
constexpr const char* kKey = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra";

class SettingsTest : public ::testing::Test {
 protected:
  platform::ScratchDirectory dir_;
  platform::Registry registry_{dir_.Path(), dir_.Path()};

  RegistryKey Key() {
    RegistryKey key;
    EXPECT_EQ(registry_.CreateKey(RegistryRoot::CurrentUser, kKey, RegistryAccess::All, key),
              platform::ERROR_SUCCESS);
    return key;
  }
  platform::RegistryValue Value(const char* name) {
    RegType type{};
    uint32_t size = 0;
    RegistryKey key = Key();
    EXPECT_EQ(key.QueryValue(name, &type, nullptr, &size), platform::ERROR_SUCCESS) << name;
    std::vector<uint8_t> data(size);
    EXPECT_EQ(key.QueryValue(name, &type, data.data(), &size), platform::ERROR_SUCCESS) << name;
    return {type, data};
  }
  uint32_t Dword(const char* name) {
    uint32_t value = 0;
    EXPECT_EQ(Key().QueryDword(name, value), platform::ERROR_SUCCESS) << name;
    return value;
  }
};

std::vector<uint8_t> Le(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : words) {
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<uint8_t>(w >> (8 * b)));
  }
  return bytes;
}

TEST_F(SettingsTest, FirstRunCreatesTheKeyWithEveryRenderDefault) {
  RenderSettings settings;
  ASSERT_EQ(settings.Load(registry_, kBase), platform::ERROR_SUCCESS);
  EXPECT_EQ(Value("RenderMethod"), (platform::RegistryValue{RegType::DWORD, Le({4})}));
  EXPECT_EQ(Value("ShadingFlags"),
            (platform::RegistryValue{RegType::BINARY, Le({8, 8, 14, 14, 454, 454, 454})}));
  EXPECT_EQ(Dword("ScanlineTransmissionDepth"), 0u);
  EXPECT_EQ(Value("VolumeStepSize"), (platform::RegistryValue{RegType::DWORD, Le({0x3F800000})}));
  EXPECT_EQ(Dword("VolumeMinSteps"), 3u);
  EXPECT_EQ(Dword("VolumeMaxSteps"), 50u);
  std::string rib;
  ASSERT_EQ(Key().QueryString("RIBRenderer", rib, 128), platform::ERROR_SUCCESS);
  EXPECT_EQ(rib, "rendrib.exe");
}

TEST_F(SettingsTest, FirstRunCreatesTheTenAnimationValues) {
  AnimationSettings settings;
  ASSERT_EQ(settings.Load(registry_, kBase), platform::ERROR_SUCCESS);
  EXPECT_EQ(Dword("AnimFileOutputChoice"), 0u);
  EXPECT_EQ(Dword("TimeDisplayChoice"), 0u);
  EXPECT_EQ(Dword("AVIFrameRateChoice"), 1u);
  // A full save writes the float's bytes as a DWORD.
  EXPECT_EQ(Value("AVIFrameRateValue"),
            (platform::RegistryValue{RegType::DWORD, Le({std::bit_cast<uint32_t>(15.0f)})}));
  EXPECT_EQ(Value("AVICompressionHandler").data, (std::vector<uint8_t>{'M', 'S', 'V', 'C'}));
  EXPECT_EQ(Dword("AVIQuality"), 8500u);
  EXPECT_EQ(Dword("AVIKeyFrameRate"), 15u);
  EXPECT_EQ(Dword("AVIDataRate"), 300000u);
  EXPECT_EQ(Dword("AVIFrameRate"), 15u);
  EXPECT_EQ(Dword("AVIFrameRateScale"), 1u);
}

TEST_F(SettingsTest, StoredValuesOutsideTheirRangesLoadAsTheirResets) {
  struct Case {
    const char* name;
    int32_t stored;
    int32_t RenderSettings::*field;
    int32_t loaded;
  };
  const Case cases[] = {
      {"RenderMethod", 7, &RenderSettings::method, 4},
      {"RenderMethod", -1, &RenderSettings::method, 4},
      {"RenderMethod", 6, &RenderSettings::method, 6},
      {"VolumeMinSteps", 1, &RenderSettings::volumeMinSteps, 3},
      {"VolumeMinSteps", 1685, &RenderSettings::volumeMinSteps, 3},
      {"VolumeMinSteps", 1684, &RenderSettings::volumeMinSteps, 1684},
      {"VolumeMaxSteps", 16385, &RenderSettings::volumeMaxSteps, 64},
      {"VolumeMaxSteps", 1, &RenderSettings::volumeMaxSteps, 64},
      {"VolumeMaxSteps", 16384, &RenderSettings::volumeMaxSteps, 16384},
      {"ScanlineTransmissionDepth", -1, &RenderSettings::scanlineDepth, 1},
      {"ScanlineTransmissionDepth", 32, &RenderSettings::scanlineDepth, 32},
  };
  RenderSettings().Load(registry_, kBase);  // the key exists from here on
  for (const Case& c : cases) {
    ASSERT_EQ(Key().SetDword(c.name, static_cast<uint32_t>(c.stored)), platform::ERROR_SUCCESS);
    RenderSettings settings;
    settings.Load(registry_, kBase);
    EXPECT_EQ(settings.*c.field, c.loaded) << c.name << " stored as " << c.stored;
    Key().SetDword(c.name, static_cast<uint32_t>(RenderSettings{}.*c.field));
  }
}

TEST_F(SettingsTest, StepSizeNotAboveZeroLoadsAsOne) {
  RenderSettings().Load(registry_, kBase);
  for (float stored : {0.0f, -2.5f, std::bit_cast<float>(0x7FC00000u)}) {
    Key().SetDword("VolumeStepSize", std::bit_cast<uint32_t>(stored));
    RenderSettings settings;
    settings.Load(registry_, kBase);
    EXPECT_EQ(settings.volumeStepSize, 1.0f) << stored;
  }
  Key().SetDword("VolumeStepSize", std::bit_cast<uint32_t>(0.25f));
  RenderSettings settings;
  settings.Load(registry_, kBase);
  EXPECT_EQ(settings.volumeStepSize, 0.25f);
}

TEST_F(SettingsTest, MissingOrDamagedValuesAreRepairedFromTheFieldsInHand) {
  AnimationSettings().Load(registry_, kBase);
  RenderSettings().Load(registry_, kBase);
  Key().DeleteValue("VolumeMaxSteps");
  Key().DeleteValue("RIBRenderer");
  Key().SetBinary("ShadingFlags", Le({1, 2, 3}));  // too short to be the seven words
  Key().DeleteValue("AVIFrameRateValue");
  Key().SetDword("AVIQuality", 1234);

  RenderSettings render;
  render.Load(registry_, kBase);
  EXPECT_EQ(Dword("VolumeMaxSteps"), 50u);
  EXPECT_EQ(render.ribRenderer, "rendrib.exe");
  EXPECT_EQ(Value("RIBRenderer").type, RegType::SZ);
  EXPECT_EQ(Value("ShadingFlags").data, Le({8, 8, 14, 14, 454, 454, 454}));

  AnimationSettings animation;
  animation.Load(registry_, kBase);
  EXPECT_EQ(animation.quality, 1234);
  // The loader writes the missing float back as four binary bytes, and reads them again.
  EXPECT_EQ(Value("AVIFrameRateValue"),
            (platform::RegistryValue{RegType::BINARY, Le({std::bit_cast<uint32_t>(15.0f)})}));
  animation.customFrameRate = 2.0f;
  animation.Load(registry_, kBase);
  EXPECT_EQ(animation.customFrameRate, 15.0f);
}

TEST_F(SettingsTest, SaveAndLoadRoundTrip) {
  RenderSettings saved;
  saved.Load(registry_, kBase);
  saved.method = static_cast<int32_t>(RenderMethod::Scanline);
  saved.shadingFlags[3] = 0x2 | 0x20 | 0x400;
  saved.scanlineDepth = 5;
  saved.volumeStepSize = 0.5f;
  saved.ribRenderer = "/usr/bin/aqsis";
  ASSERT_EQ(saved.Save(registry_, kBase), platform::ERROR_SUCCESS);
  RenderSettings loaded;
  loaded.Load(registry_, kBase);
  EXPECT_EQ(loaded.Method(), RenderMethod::Scanline);
  EXPECT_EQ(loaded.FlagsOf(RenderMethod::Scanline), 0x422u);
  EXPECT_EQ(loaded.scanlineDepth, 5);
  EXPECT_EQ(loaded.volumeStepSize, 0.5f);
  EXPECT_EQ(loaded.ribRenderer, "/usr/bin/aqsis");
}

// A custom rate stored and read back gives the fraction the sheet shows for it.
TEST_F(SettingsTest, StoredCustomRatesGiveTheirFloatThousandths) {
  const std::vector<std::pair<float, std::pair<int32_t, int32_t>>> rates = {
      {29.97f, {29970, 1000}},   {23.976f, {23976, 1000}}, {0.01f, {10, 1000}},
      {119.99f, {119990, 1000}}, {7.5f, {7500, 1000}},     {12.0f, {12, 1}}};
  for (const auto& [rate, fraction] : rates) {
    AnimationSettings saved;
    saved.Load(registry_, kBase);
    saved.frameRateChoice = abi::kCustomFrameRateChoice;
    saved.customFrameRate = rate;
    ASSERT_EQ(saved.Save(registry_, kBase), platform::ERROR_SUCCESS);
    AnimationSettings loaded;
    loaded.Load(registry_, kBase);
    const auto got = abi::FrameRateOfChoice(loaded.frameRateChoice, loaded.customFrameRate);
    ASSERT_TRUE(got) << rate;
    EXPECT_EQ(std::make_pair(got->numerator, got->denominator), fraction) << rate;
  }
}

TEST_F(SettingsTest, SaveWithoutTheKeyWritesNothing) {
  EXPECT_EQ(RenderSettings().Save(registry_, kBase), platform::ERROR_FILE_NOT_FOUND);
  RegistryKey key;
  EXPECT_NE(registry_.OpenKey(RegistryRoot::CurrentUser, kKey, RegistryAccess::Read, key),
            platform::ERROR_SUCCESS);
}

TEST(RenderMethod, UnsetFlagsTakeTheMethodDefaults) {
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::Raytracing, render::kUnsetShadingFlags), 486u);
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::ZBuffer, render::kUnsetShadingFlags), 14u);
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::Scanline, render::kUnsetShadingFlags), 14u);
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::Wireframe, render::kUnsetShadingFlags), 8u);
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::PovRay, render::kUnsetShadingFlags), 8u);
  EXPECT_EQ(EffectiveShadingFlags(RenderMethod::Raytracing, 0), 0u);
  EXPECT_EQ(render::MethodByName("hidden line"), RenderMethod::HiddenLine);
  EXPECT_EQ(render::MethodByName("POV-Ray"), RenderMethod::PovRay);
  EXPECT_FALSE(render::MethodByName("raytrace").has_value());
}

}  // namespace
}  // namespace lumetra
