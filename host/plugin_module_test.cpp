// Loading real and faulty plug-ins the way the host does.
#include "host/plugin_module.h"

#include <gtest/gtest.h>

#include <string>

namespace lumetra {
namespace {

using host::PluginError;
using host::PluginModule;

std::string LoadError(const std::string& path) {
  try {
    PluginModule::Load(path);
  } catch (const PluginError& error) {
    return error.what();
  }
  return "";
}

TEST(PluginModule, LoadsTheLumetraPluginAndConnectsBothInterfaces) {
  auto module = PluginModule::Load(LUMETRA_PLUGIN_PATH);
  const host::PluginInfo& info = module->Info();
  EXPECT_EQ(info.recordVersion, 1103u);
  EXPECT_EQ(info.name, "Lumetra (beta 21)");
  EXPECT_EQ(info.description, "Rendering and Keyframe Animation plugin");
  ASSERT_EQ(info.interfaces.size(), 2u);
  EXPECT_EQ(info.interfaces[0].kind, 2u);
  EXPECT_EQ(info.interfaces[1].kind, 6u);
  ASSERT_NE(module->Scene(), nullptr);
  ASSERT_NE(module->Menu(), nullptr);
  EXPECT_NE(module->Scene()->onSceneEvent, nullptr);
  EXPECT_EQ(module->Scene()->header.idLow, 0x3C90B573u);
}

TEST(PluginModule, MenuEntriesCarryTextIdsAndStates) {
  auto module = PluginModule::Load(LUMETRA_PLUGIN_PATH);
  const auto entries = module->MenuEntries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_FALSE(entries[0].text.has_value());
  EXPECT_EQ(entries[1].text.value_or(""), "&Render");
  EXPECT_EQ(entries[1].enabled, std::optional<bool>(true));
  EXPECT_EQ(entries[2].enabled, std::optional<bool>(false));
  EXPECT_FALSE(entries[3].enabled.has_value());  // "&Options" leaves the state to the host
  EXPECT_EQ(entries[4].commandId, 373703u);
}

TEST(PluginModule, FailuresNameTheirCause) {
  EXPECT_NE(LoadError("/nonexistent/liblumetra.so").find("cannot load plug-in"), std::string::npos);
  EXPECT_NE(LoadError(TEST_PLUGIN_missing_export).find("lacks the export GetInterfaceFunctions"),
            std::string::npos);
  EXPECT_NE(LoadError(TEST_PLUGIN_no_record).find("gave no information record"), std::string::npos);
  const std::string refused = LoadError(TEST_PLUGIN_refusing);
  EXPECT_NE(refused.find("refused the scene interface record"), std::string::npos) << refused;
  EXPECT_NE(refused.find("(-2)"), std::string::npos) << refused;
}

}  // namespace
}  // namespace lumetra
