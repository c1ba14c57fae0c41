#include "gui/gui_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "host/testing/scene_test_support.h"

namespace lumetra::gui {
namespace {

struct Parsed {
  std::optional<GuiOptions> options;
  int exitCode = -1;
  std::string out, err;
};

Parsed Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "lumetra-gui");
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  std::ostringstream out, err;
  Parsed parsed;
  parsed.options = ParseGuiOptions(static_cast<int>(argv.size()), argv.data(), out, err, parsed.exitCode);
  parsed.out = out.str();
  parsed.err = err.str();
  return parsed;
}

TEST(GuiOptions, AGoodCommandLineGivesEveryValue) {
  const std::string scene = host::testing::EveryKindScenePath();
  const Parsed parsed =
      Parse({scene, "--plugin", "/opt/p.so", "--timeline", "--menu", "&Render", "--menu", "&Animation",
             "--options-page", "2", "--size", "160x120", "--screenshot", "out.PNG", "--after", "2.5"});
  ASSERT_TRUE(parsed.options) << parsed.err;
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_EQ(parsed.options->scene, scene);
  EXPECT_EQ(parsed.options->plugin, "/opt/p.so");
  EXPECT_EQ(parsed.options->menus,
            (std::vector<std::string>{"&Render", "&Animation", "&Timeline", "&Options"}))
      << "the timeline and then the options sheet open after the other menu items";
  EXPECT_EQ(parsed.options->optionsPage, 2);
  EXPECT_EQ(parsed.options->size, "160x120");
  EXPECT_EQ(parsed.options->screenshot, "out.PNG");
  EXPECT_EQ(parsed.options->after, 2.5);

  const Parsed bare = Parse({});
  ASSERT_TRUE(bare.options);
  EXPECT_EQ(bare.options->scene, "");
  EXPECT_EQ(bare.options->after, 1.0);
  EXPECT_EQ(bare.options->optionsPage, 0);
  EXPECT_TRUE(bare.options->menus.empty());
}

TEST(GuiOptions, HelpEndsWellAndBadCommandLinesEndWithTwoAndTheReason) {
  const Parsed help = Parse({"--help"});
  EXPECT_FALSE(help.options);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--screenshot FILE.png"), std::string::npos);
  EXPECT_NE(help.out.find("Exit codes"), std::string::npos);

  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"/no/such/scene.json"}, "/no/such/scene.json"},
      {{"--size", "160by120"}, "WIDTHxHEIGHT"},
      {{"--screenshot", "out.jpg"}, "wants a .png file"},
      {{"--after", "3"}, "--screenshot"},
      {{"--screenshot", "out.png", "--after", "-1"}, "--after"},
      {{"--no-such-option"}, "--no-such-option"},
      {{"--options-page", "4"}, "--options-page"},
      {{"--options-page", "0"}, "--options-page"},
  };
  for (const auto& [words, reason] : bad) {
    const Parsed parsed = Parse(words);
    EXPECT_FALSE(parsed.options) << words.front();
    EXPECT_EQ(parsed.exitCode, 2) << words.front();
    EXPECT_NE(parsed.err.find(reason), std::string::npos) << parsed.err;
  }
}

}  // namespace
}  // namespace lumetra::gui
