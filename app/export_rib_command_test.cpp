#include "app/export_rib_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

constexpr const char* kScene =
    R"({"format": "lumetra-scene", "version": 1, "render": {"width": 160, "height": 120},
  "cameras": [{"type": "camera", "active": true, "fov": 50, "location": [0, 0, -7], "look_at": [0, 0, 0]}],
  "objects": [{"type": "point_light", "transform": {"translate": [5, 8, -6]}}, {"type": "sphere"}]})";

TEST(ExportRibCommandTest, WritesTheSceneWithItsPictureBesideItAndTheSizesAspect) {
  platform::ScratchDirectory dir;
  const std::string scene = (dir / "s.json").string(), out = (dir / "s.rib").string();
  std::ofstream(scene) << kScene;
  std::ostringstream err;
  ASSERT_EQ(RunExportRib(scene, out, "300x100", err), 0) << err.str();
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_NE(text.str().find("Display \"" + (dir / "s.tif").string() + "\""), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("Format 300 100 1"), std::string::npos);
  EXPECT_NE(text.str().find("ScreenWindow -3 3 -1 1"), std::string::npos);
  EXPECT_NE(text.str().find("Sphere 1 -1 1 360"), std::string::npos);
}

TEST(ExportRibCommandTest, BadSizeOrSceneExitsWithTwoAndWritesNothing) {
  platform::ScratchDirectory dir;
  const std::string scene = (dir / "s.json").string(), out = (dir / "s.rib").string();
  std::ofstream(scene) << kScene;
  std::ostringstream err;
  EXPECT_EQ(RunExportRib(scene, out, "300", err), 2);
  EXPECT_NE(err.str().find("export-rib: --size"), std::string::npos) << err.str();
  EXPECT_EQ(RunExportRib((dir / "missing.json").string(), out, "", err), 2);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(RunExportRib(scene, (dir / "no-folder" / "s.rib").string(), "", err), 1);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace lumetra::app
