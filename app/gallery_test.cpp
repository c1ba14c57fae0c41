// The gallery (docs/gallery.md and docs/gallery/, written by scripts/gallery.sh) against the
// scene format it shows: a scene for every object kind and pattern that docs/scene-format.md
// describes, every scene still a scene the host loads, and a picture of each on the page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "host/scene_file.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

const fs::path kDocs = fs::path(LUMETRA_SOURCE_DIR) / "docs";

std::string ReadText(const fs::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every `name` in backquotes between `from` and the next full stop.
std::set<std::string> QuotedNamesAfter(const std::string& text, const std::string& from) {
  const size_t start = text.find(from);
  if (start == std::string::npos) return {};
  const std::string sentence = text.substr(start, text.find('.', start) - start);
  std::set<std::string> names;
  const std::regex quoted("`([a-z_0-9]+)`");
  for (auto match = std::sregex_iterator(sentence.begin(), sentence.end(), quoted);
       match != std::sregex_iterator(); ++match) {
    names.insert((*match)[1]);
  }
  return names;
}

std::set<std::string> GalleryScenes() {
  std::set<std::string> stems;
  for (const auto& entry : fs::directory_iterator(kDocs / "gallery" / "scenes"))
    stems.insert(entry.path().stem());
  return stems;
}

// A scene named after the kind, or after the kind and a variant ("csg-union").
bool HasSceneOf(const std::set<std::string>& scenes, const std::string& kind) {
  const auto next = scenes.lower_bound(kind);
  return next != scenes.end() && (*next == kind || next->rfind(kind + "-", 0) == 0);
}

TEST(Gallery, ShowsEveryObjectKindPatternAndBlockOfTheSceneFormat) {
  const std::string format = ReadText(kDocs / "scene-format.md");
  const std::set<std::string> scenes = GalleryScenes();

  std::set<std::string> kinds;
  const std::regex heading(R"(\*\*([a-z_]+)\*\* \(type \d+\))");
  for (auto match = std::sregex_iterator(format.begin(), format.end(), heading);
       match != std::sregex_iterator(); ++match) {
    kinds.insert((*match)[1]);
  }
  ASSERT_GE(kinds.size(), 25u) << "the object headings of scene-format.md were not found";
  for (const std::string& kind : kinds) EXPECT_TRUE(HasSceneOf(scenes, kind)) << kind;

  std::set<std::string> patterns = QuotedNamesAfter(format, "Patterns:");
  ASSERT_GE(patterns.size(), 20u) << "the pattern list of scene-format.md was not found";
  // Neither is a pattern of its own: average blends other patterns, density_file reads a file.
  patterns.erase("average");
  patterns.erase("density_file");
  for (const std::string& pattern : patterns) EXPECT_TRUE(scenes.count(pattern)) << pattern;

  const std::set<std::string> blocks = QuotedNamesAfter(format, "Blocks:");
  ASSERT_EQ(blocks.size(), 3u);
  for (const std::string& block : blocks) EXPECT_TRUE(scenes.count("block-" + block)) << block;
}

TEST(Gallery, EverySceneLoadsAndThePageShowsItsPicture) {
  const std::string page = ReadText(kDocs / "gallery.md");
  const std::set<std::string> scenes = GalleryScenes();
  ASSERT_FALSE(scenes.empty());
  for (const std::string& name : scenes) {
    const fs::path scene = kDocs / "gallery" / "scenes" / (name + ".json");
    EXPECT_NO_THROW((void)host::LoadScene(scene.string())) << name;
    EXPECT_NE(page.find("(gallery/" + name + ".png)"), std::string::npos) << name << " is not on the page";
    EXPECT_TRUE(fs::exists(kDocs / "gallery" / (name + ".png"))) << name;
  }
}

}  // namespace
}  // namespace lumetra
