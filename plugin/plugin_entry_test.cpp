// The application object and its interfaces, driven the way the host drives them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "abi/menu_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "platform/debug_log.h"
#include "plugin/animation_scene_interface.h"
#include "plugin/kinetra_app.h"
#include "plugin/render_menu_interface.h"

namespace lumetra {
namespace {

using plugin::KinetraApp;

std::unique_ptr<abi::SceneRecord> NewSceneRecord(uint32_t size, uint32_t version) {
  auto record = std::make_unique<abi::SceneRecord>();
  record->header = {size, version, 0, 0};
  return record;
}

std::unique_ptr<abi::MenuRecord> NewMenuRecord(uint32_t size, uint32_t version) {
  auto record = std::make_unique<abi::MenuRecord>();
  record->header = {size, version, 0, 0};
  return record;
}

class PluginEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test gets blocks of its own so parallel runs do not meet.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    setenv("LUMETRA_SHM_NAMESPACE", (std::string("entry_") + info->name()).c_str(), 1);
    app_ = std::make_unique<KinetraApp>();
    ASSERT_TRUE(app_->InitInstance());
  }
  void TearDown() override {
    app_->ExitInstance();
    app_.reset();
  }
  std::unique_ptr<KinetraApp> app_;
};

TEST_F(PluginEntryTest, InformationRecordListsBothInterfacesAndEndsWithAZeroPair) {
  abi::PluginInfoRecord* record = nullptr;
  ASSERT_EQ(app_->GetDLLInfo(&record), 1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(abi::PluginInfoRecordSize(2), 928u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(record);
  auto u32 = [&](size_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes + offset, 4);
    return value;
  };
  EXPECT_EQ(u32(0), 1103u);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 4), "Lumetra (beta 21)");
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 420), "Rendering and Keyframe Animation plugin");
  EXPECT_EQ(u32(676), 4000u);
  for (size_t offset = 680; offset < 900; ++offset) ASSERT_EQ(bytes[offset], 0) << offset;
  EXPECT_EQ(u32(900), 2u);
  EXPECT_EQ(u32(904), 2u);
  EXPECT_EQ(u32(908), 204u);
  EXPECT_EQ(u32(912), 6u);
  EXPECT_EQ(u32(916), 101u);
  EXPECT_EQ(u32(920), 0u);
  EXPECT_EQ(u32(924), 0u);
  // Every text field keeps its terminator and zero padding.
  for (size_t field : {4u, 36u, 164u, 292u, 420u}) {
    EXPECT_LT(std::strlen(reinterpret_cast<const char*>(bytes + field)), field == 4 ? 32u : 128u);
  }
}

TEST_F(PluginEntryTest, GetDLLInfoWithoutOutputPointerFails) {
  EXPECT_EQ(app_->GetDLLInfo(nullptr), 0);
  EXPECT_EQ(app_->InfoRecord(), nullptr);
}

TEST_F(PluginEntryTest, SceneRecordSizeAndVersionRules) {
  const uint32_t minimum = abi::kSceneRecordMinimumSize;
  EXPECT_EQ(app_->GetInterfaceFunctions(0, &NewSceneRecord(minimum - 1, 204)->header), abi::kRecordTooSmall);
  EXPECT_EQ(app_->GetInterfaceFunctions(0, &NewSceneRecord(minimum, 300)->header), abi::kWrongMajorVersion);
  EXPECT_EQ(app_->GetInterfaceFunctions(0, &NewSceneRecord(minimum, 199)->header), abi::kWrongMajorVersion);
  auto record = NewSceneRecord(minimum, 299);
  EXPECT_EQ(app_->GetInterfaceFunctions(0, &record->header), abi::kOk);
  EXPECT_EQ(record->header.idLow, 0x3C90B573u);
  EXPECT_EQ(record->header.idHigh, 0xFD7095A6u);
}

TEST_F(PluginEntryTest, RefusedRecordIsLeftUntouched) {
  auto record = NewSceneRecord(abi::kSceneRecordMinimumSize, 300);
  ASSERT_EQ(app_->GetInterfaceFunctions(0, &record->header), abi::kWrongMajorVersion);
  EXPECT_EQ(record->header.idLow, 0u);
  EXPECT_EQ(record->onSceneEvent, nullptr);
  EXPECT_EQ(record->onSceneNotify, nullptr);
}

TEST_F(PluginEntryTest, InterfaceIndexAndNullRecord) {
  auto record = NewSceneRecord(abi::kSceneRecordMinimumSize, 204);
  EXPECT_EQ(app_->GetInterfaceFunctions(2, &record->header), abi::kIndexOutOfRange);
  EXPECT_EQ(app_->GetInterfaceFunctions(-1, &record->header), abi::kIndexOutOfRange);
  EXPECT_EQ(app_->GetInterfaceFunctions(0, nullptr), abi::kNullRecord);
  EXPECT_EQ(app_->GetInterfaceFunctions(1, nullptr), abi::kNullRecord);
}

TEST_F(PluginEntryTest, SceneEntryPointsReachTheDefaults) {
  auto record = NewSceneRecord(abi::kSceneRecordMinimumSize, 204);
  const abi::Slot hostSlot = reinterpret_cast<abi::Slot>(0x1234);
  record->host652[0] = hostSlot;
  ASSERT_EQ(app_->GetInterfaceFunctions(0, &record->header), abi::kOk);
  EXPECT_EQ(record->host652[0], hostSlot);  // the host's slot between the entries stays
  EXPECT_EQ(record->onSceneEvent(0, abi::kEventObjectAdded), 0);
  EXPECT_EQ(record->operation8(1, 2, 3), 0);
  EXPECT_EQ(record->getSceneDataSize(0), 0);
  EXPECT_EQ(record->operation12(1, 2), 0);
  EXPECT_EQ(record->operation13(1, 2, 3), 0);
  EXPECT_EQ(record->operation16(1, 2), 1);
  EXPECT_EQ(record->selectorCall(1, 5), 0);
  EXPECT_EQ(record->selectorCall(2, 5), 0);
  EXPECT_EQ(record->selectorCall(9, 5), 0);
  EXPECT_EQ(record->onSceneNotify(0, abi::kEventImportBegins, nullptr, nullptr), 0);
}

TEST_F(PluginEntryTest, MenuRecordVersionRules) {
  auto minor = NewMenuRecord(abi::kMenuRecordMinimumSize, 150);
  EXPECT_EQ(app_->GetInterfaceFunctions(1, &minor->header), abi::kOk);
  EXPECT_EQ(minor->header.idLow, 0x3C34761Au);
  EXPECT_EQ(minor->header.idHigh, 0x0E6095A6u);
  EXPECT_EQ(app_->GetInterfaceFunctions(1, &NewMenuRecord(abi::kMenuRecordMinimumSize, 200)->header),
            abi::kWrongMajorVersion);
  EXPECT_EQ(app_->GetInterfaceFunctions(1, &NewMenuRecord(abi::kMenuRecordMinimumSize - 1, 101)->header),
            abi::kRecordTooSmall);
}

TEST_F(PluginEntryTest, MenuItemsThroughTheEntryPoints) {
  auto menu = NewMenuRecord(abi::kMenuRecordMinimumSize, 101);
  ASSERT_EQ(app_->GetInterfaceFunctions(1, &menu->header), abi::kOk);
  struct Expected {
    uint32_t flags;
    const char* text;
    uint32_t id;
  };
  const Expected expected[] = {{0x22040000, nullptr, 0},
                               {0x02040000, "&Render", 373700},
                               {0x02040000, "&Animation", 373701},
                               {0x02040000, "&Options", 373702},
                               {0x02040000, "&Timeline", 373703}};
  for (int32_t i = 0; i < 5; ++i) {
    uint32_t flags = 7, id = 7;
    const char* text = "unset";
    ASSERT_EQ(menu->enumMenuItem(i, &flags, &text, &id), 0) << i;
    EXPECT_EQ(flags, expected[i].flags) << i;
    EXPECT_EQ(id, expected[i].id) << i;
    if (expected[i].text) {
      EXPECT_STREQ(text, expected[i].text);
    } else {
      EXPECT_EQ(text, nullptr);
    }
  }
  uint32_t flags = 7, id = 9;
  const char* text = "unset";
  EXPECT_EQ(menu->enumMenuItem(5, &flags, &text, &id), -30);
  EXPECT_EQ(menu->enumMenuItem(-1, &flags, &text, &id), -30);
  EXPECT_EQ(flags, 7u);
  EXPECT_EQ(id, 9u);
  EXPECT_STREQ(text, "unset");
}

TEST_F(PluginEntryTest, CommandStates) {
  auto menu = NewMenuRecord(abi::kMenuRecordMinimumSize, 101);
  ASSERT_EQ(app_->GetInterfaceFunctions(1, &menu->header), abi::kOk);
  auto state = [&](uint32_t id) {
    uint32_t enabled = 77;
    EXPECT_EQ(menu->queryCommandState(id, &enabled), 0);
    return enabled;
  };
  EXPECT_EQ(state(abi::kCommandRender), 1u);
  EXPECT_EQ(state(abi::kCommandTimeline), 1u);
  EXPECT_EQ(state(abi::kCommandAnimation), 0u);  // nothing is keyed
  EXPECT_EQ(state(abi::kCommandOptions), 77u);
  EXPECT_EQ(state(12345), 77u);
  EXPECT_EQ(menu->queryCommandState(abi::kCommandRender, nullptr), 0);
}

TEST_F(PluginEntryTest, UnknownCommandIsLoggedAndAnswered) {
  auto menu = NewMenuRecord(abi::kMenuRecordMinimumSize, 101);
  ASSERT_EQ(app_->GetInterfaceFunctions(1, &menu->header), abi::kOk);
  platform::DebugLog::Clear();
  EXPECT_EQ(menu->executeCommand(42), 0);
  const auto lines = platform::DebugLog::Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Unknown command id: 42\n");
}

TEST_F(PluginEntryTest, SceneInterfaceStartsWithTheDefaultRange) {
  const keyframe::SceneAnimation& state = app_->Scene()->Animation();
  EXPECT_EQ(state.StartTime(), 0);
  EXPECT_EQ(state.EndTime(), 120);
  EXPECT_EQ(state.CurrentTime(), 0);
  EXPECT_EQ(state.KeyStepsMode(), keyframe::KeySteps::Object);
  EXPECT_EQ(state.SliderStepsMode(), 0);
  EXPECT_EQ(app_->Scene()->EventState(), 0);
  EXPECT_FALSE(state.sceneFlag);
  EXPECT_TRUE(state.sceneText.empty());
  EXPECT_TRUE(state.KeyTimes().empty());
}

}  // namespace
}  // namespace lumetra
