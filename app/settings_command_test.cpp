#include "app/settings_command.h"

#include <gtest/gtest.h>

#include <bit>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

using nlohmann::json;

constexpr const char* kKey = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra";

class SettingsCommandTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& changes, bool asJson = true) {
    out_.str("");
    err_.str("");
    return RunSettings(registry_, changes, asJson, out_, err_);
  }
  json Document() { return json::parse(out_.str()); }
  platform::RegistryKey Key() {
    platform::RegistryKey key;
    EXPECT_EQ(
        registry_.CreateKey(platform::RegistryRoot::CurrentUser, kKey, platform::RegistryAccess::All, key),
        platform::ERROR_SUCCESS);
    return key;
  }

  platform::ScratchDirectory home_;
  platform::Registry registry_{home_.Path(), home_.Path()};
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(SettingsCommandTest, AFirstRunShowsTheDefaultsAndWritesNothing) {
  ASSERT_EQ(Run({}), 0);
  const json document = Document();
  EXPECT_EQ(document["render"]["RenderMethod"], 4);
  EXPECT_EQ(document["render"]["ShadingFlags"], json({8, 8, 14, 14, 454, 454, 454}));
  EXPECT_EQ(document["render"]["VolumeMaxSteps"], 50);
  EXPECT_EQ(document["render"]["RIBRenderer"], "rendrib.exe");
  EXPECT_EQ(document["animation"]["AVICompressionHandler"], "MSVC");
  EXPECT_EQ(document["animation"]["AVIFrameRateValue"], 15.0);
  EXPECT_FALSE(std::filesystem::exists(registry_.File(platform::RegistryRoot::CurrentUser)));
}

TEST_F(SettingsCommandTest, StoredValuesReadAsThePluginReadsThem) {
  const platform::RegistryKey key = Key();
  key.SetDword("RenderMethod", 7);
  key.SetDword("VolumeMinSteps", 1);
  key.SetDword("VolumeMaxSteps", 16385);
  key.SetDword("VolumeStepSize", std::bit_cast<uint32_t>(0.0f));
  key.SetDword("ScanlineTransmissionDepth", static_cast<uint32_t>(-3));
  key.SetDword("AVIQuality", 7500);
  ASSERT_EQ(Run({}), 0);
  const json document = Document();
  EXPECT_EQ(document["render"]["RenderMethod"], 4);
  EXPECT_EQ(document["render"]["VolumeMinSteps"], 3);
  EXPECT_EQ(document["render"]["VolumeMaxSteps"], 64);
  EXPECT_EQ(document["render"]["VolumeStepSize"], 1.0);
  EXPECT_EQ(document["render"]["ScanlineTransmissionDepth"], 1);
  EXPECT_EQ(document["animation"]["AVIQuality"], 7500);  // animation values are taken as read
}

TEST_F(SettingsCommandTest, ChangesAreCheckedAsOnTheSheetAndARefusalWritesNothing) {
  ASSERT_EQ(Run({"RenderMethod=0", "ScanlineTransmissionDepth=33"}), 1);
  EXPECT_NE(
      err_.str().find("ScanlineTransmissionDepth=33 refused: Please enter an integer between 0 and 32."),
      std::string::npos)
      << err_.str();
  EXPECT_NE(err_.str().find("nothing was written"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(registry_.File(platform::RegistryRoot::CurrentUser)));

  const std::vector<std::string> refused{"VolumeStepSize=-1",
                                         "VolumeMinSteps=1000001",
                                         "AVIFrameRateValue=0",
                                         "ShadingFlags=8,8,14",
                                         "ShadingFlags=1,8,14,14,454,454,454",
                                         "AVICompressionHandler=MJPEG",
                                         "AVIFrameRate=30",
                                         "Nothing=1",
                                         "RenderMethod"};
  for (const std::string& change : refused) EXPECT_EQ(Run({change}), 1) << change;
  EXPECT_FALSE(std::filesystem::exists(registry_.File(platform::RegistryRoot::CurrentUser)));
}

TEST_F(SettingsCommandTest, AcceptedChangesAreStoredAndTheFrameRateFollows) {
  ASSERT_EQ(Run({"rendermethod=0", "ShadingFlags=0x48,8,14,14,454,486,454", "VolumeStepSize=0.5",
                 "AVICompressionHandler=MJPG", "AVIFrameRateChoice=7", "AVIFrameRateValue=29.97"}),
            0)
      << err_.str();
  json document = Document();
  EXPECT_EQ(document["render"]["RenderMethod"], 0);
  EXPECT_EQ(document["render"]["ShadingFlags"][0], 0x48);
  EXPECT_EQ(document["render"]["VolumeStepSize"], 0.5);
  EXPECT_EQ(document["animation"]["AVICompressionHandler"], "MJPG");
  EXPECT_EQ(document["animation"]["AVIFrameRate"], 29970);
  EXPECT_EQ(document["animation"]["AVIFrameRateScale"], 1000);
  // The other settings stay; a choice alone takes its fraction.
  ASSERT_EQ(Run({"AVIFrameRateChoice=5"}), 0);
  document = Document();
  EXPECT_EQ(document["render"]["RenderMethod"], 0);
  EXPECT_EQ(document["animation"]["AVIFrameRate"], 5994);
  EXPECT_EQ(document["animation"]["AVIFrameRateScale"], 100);

  ASSERT_EQ(Run({}, false), 0);
  EXPECT_NE(out_.str().find("RenderMethod               0\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("ShadingFlags               72,8,14,14,454,486,454\n"), std::string::npos);
}

}  // namespace
}  // namespace lumetra::app
