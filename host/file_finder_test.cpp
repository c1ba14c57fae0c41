#include "host/file_finder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "abi/scene_record.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

TEST(FileFinder, TheScenesFolderComesBeforeConfiguredFoldersAndTheEnvironment) {
  const fs::path root = testing::FreshFolder("finder");
  fs::create_directories(root / "scene" / "maps");
  fs::create_directories(root / "shared");
  testing::WriteText(root / "scene" / "a.png", "scene");
  testing::WriteText(root / "shared" / "a.png", "shared");
  testing::WriteText(root / "shared" / "b.png", "shared");
  testing::WriteText(root / "scene" / "maps" / "c.png", "maps");
  fs::create_directories(root / "env");
  testing::WriteText(root / "env" / "d.png", "env");
  const FileFinder finder((root / "scene").string(), {"../shared", "maps"});

  EXPECT_EQ(finder.Find(abi::kFindImageMap, "a.png"), (root / "scene" / "a.png").string());
  EXPECT_EQ(finder.Find(abi::kFindImageMap, "b.png"), (root / "shared" / "b.png").string());
  EXPECT_EQ(finder.Find(abi::kFindImageMap, "textures\\c.png"), (root / "scene" / "maps" / "c.png").string());
  EXPECT_FALSE(finder.Find(abi::kFindImageMap, "d.png"));
  ::setenv("LUMETRA_SEARCH_PATH", ((root / "missing").string() + ":" + (root / "env").string()).c_str(), 1);
  EXPECT_EQ(finder.Find(abi::kFindImageMap, "d.png"), (root / "env" / "d.png").string());
  ::unsetenv("LUMETRA_SEARCH_PATH");
  EXPECT_FALSE(finder.Find(abi::kFindImageMap, ""));
  // A folder of that name is not a file.
  EXPECT_FALSE(finder.Find(abi::kFindImageMap, "maps"));
}

TEST(FileFinder, FontsAlsoComeFromTheSystemFontFolders) {
  const fs::path dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!fs::exists(dejavu)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  const FileFinder finder(testing::FreshFolder("fonts").string(), {});
  EXPECT_EQ(finder.Find(abi::kFindFont, "DejaVuSans.ttf"), dejavu.string());
  EXPECT_FALSE(finder.Find(abi::kFindImageMap, "DejaVuSans.ttf"));
}

}  // namespace
}  // namespace lumetra::host
