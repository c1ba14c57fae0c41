#include "app/export_pov_command.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/testing/kind_scenes.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

constexpr const char* kPovray = "/usr/bin/povray";
// Mean absolute difference per channel (0..255) between POV-Ray's picture of an export and
// the ray tracer's: anti-aliasing and the last bits of the shading differ, nothing more.
constexpr double kMeanDifferenceLimit = 3.0;

TEST(ExportPovCommandTest, BadSizeOrSceneExitsWithTwoAndWritesNothing) {
  platform::ScratchDirectory dir;
  const std::string scene = (dir / "s.json").string(), out = (dir / "s.pov").string();
  std::ofstream(scene) << testing::SceneText(R"({"type": "sphere"})", "");
  std::ostringstream err;
  EXPECT_EQ(RunExportPov(scene, out, "160by120", err), 2);
  EXPECT_NE(err.str().find("--size"), std::string::npos) << err.str();
  EXPECT_EQ(RunExportPov((dir / "missing.json").string(), out, "", err), 2);
  std::ofstream(scene) << "{";
  EXPECT_EQ(RunExportPov(scene, out, "", err), 2);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ExportPovCommandTest, SizeGivesTheCameraThePicturesAspect) {
  platform::ScratchDirectory dir;
  const std::string scene = (dir / "s.json").string(), out = (dir / "s.pov").string();
  std::ofstream(scene) << testing::SceneText(R"({"type": "sphere"})", "");
  std::ostringstream err;
  ASSERT_EQ(RunExportPov(scene, out, "300x100", err), 0) << err.str();
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_NE(text.str().find("right -x*3 "), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("+W300 +H100"), std::string::npos);
}

// POV-Ray's picture of each scene (the whole "POV-Ray" render route: export, bridge, POV-Ray)
// against the ray tracer's picture of it: one small scene per object kind and light.
TEST(ExportPovCommandTest, PovRayDrawsEveryKindAsTheRayTracerDrawsIt) {
  if (!std::filesystem::exists(kPovray)) GTEST_SKIP() << kPovray << " is not installed: nothing to compare";
  platform::ScratchDirectory dir;
  // The ray tracer's pictures first: a ray-traced render started while the last POV-Ray
  // render's bridge is still closing can fail.
  for (const testing::Case& c : testing::kKindCases) {
    const std::string base = (dir / c.name).string();
    std::ofstream(base + ".json") << testing::SceneText(c.objects, testing::kMaterials);
    testing::Render(base + ".json", "Raytracing", base + "-ours.png");
  }
  for (const testing::Case& c : testing::kKindCases) {
    const std::string base = (dir / c.name).string();
    testing::Render(base + ".json", "POV-Ray", base + "-pov.png");
    const std::array<double, 3> difference = testing::MeanDifference(base + "-pov.png", base + "-ours.png");
    std::printf("%-14s mean difference r %.2f g %.2f b %.2f\n", c.name, difference[0], difference[1],
                difference[2]);
    for (const double channel : difference) EXPECT_LT(channel, kMeanDifferenceLimit) << c.name;
  }
}

}  // namespace
}  // namespace lumetra::app
