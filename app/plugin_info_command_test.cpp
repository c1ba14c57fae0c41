#include "app/plugin_info_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace lumetra {
namespace {

TEST(PluginInfoCommand, PrintsRecordAndMenu) {
  std::ostringstream out, err;
  ASSERT_EQ(app::RunPluginInfo(LUMETRA_PLUGIN_PATH, false, out, err), 0) << err.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("Name         Lumetra (beta 21)"), std::string::npos) << text;
  EXPECT_NE(text.find("\"&Render\"  command 373700  enabled"), std::string::npos) << text;
  EXPECT_NE(text.find("\"&Animation\"  command 373701  disabled"), std::string::npos) << text;
  EXPECT_NE(text.find("flags 0x22040000  (submenu)"), std::string::npos) << text;
  EXPECT_TRUE(err.str().empty());
}

TEST(PluginInfoCommand, JsonCarriesTheSameFacts) {
  std::ostringstream out, err;
  ASSERT_EQ(app::RunPluginInfo(LUMETRA_PLUGIN_PATH, true, out, err), 0) << err.str();
  const auto document = nlohmann::json::parse(out.str());
  EXPECT_EQ(document["version"], 1103);
  EXPECT_EQ(document["interfaces"].size(), 2u);
  ASSERT_EQ(document["menu"].size(), 5u);
  EXPECT_TRUE(document["menu"][0]["text"].is_null());
  EXPECT_EQ(document["menu"][4]["text"], "&Timeline");
  EXPECT_TRUE(document["menu"][3]["enabled"].is_null());
}

TEST(PluginInfoCommand, RefusedRecordGivesOneLineAndFailure) {
  std::ostringstream out, err;
  EXPECT_EQ(app::RunPluginInfo(TEST_PLUGIN_REFUSING, false, out, err), 1);
  const std::string message = err.str();
  EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
  EXPECT_NE(message.find("refused the scene interface record"), std::string::npos);
  EXPECT_TRUE(out.str().empty());
}

}  // namespace
}  // namespace lumetra
