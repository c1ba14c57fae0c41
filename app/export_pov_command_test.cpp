#include "app/export_pov_command.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "image/image_bgra.h"
#include "image/image_loader.h"
#include "platform/testing/child_process.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

constexpr const char* kPovray = "/usr/bin/povray";
// Mean absolute difference per channel (0..255) between POV-Ray's picture of an export and
// the ray tracer's: anti-aliasing and the last bits of the shading differ, nothing more.
constexpr double kMeanDifferenceLimit = 3.0;

std::string SceneText(const std::string& objects, const std::string& materials) {
  return R"({"format": "lumetra-scene", "version": 1, "render": {"width": 160, "height": 120},
    "environment": {"background": [0.2, 0.3, 0.5], "ambient": [0.2, 0.2, 0.2], "max_depth": 5, "min_weight": 0.01},
    "cameras": [{"type": "camera", "active": true, "fov": 50, "location": [1, 2, -7], "look_at": [0, 0, 0]}],
    "objects": [{"type": "point_light", "transform": {"translate": [5, 8, -6]}}, )" +
         objects + R"(], "materials": [)" + materials + "]}";
}

constexpr const char* kMaterials =
    R"({"kind": "material", "name": "Red", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.9, 0.2, 0.1]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7, "phong": 0.5, "phong_size": 40}]}]},
    {"kind": "material", "name": "Checks", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "block_pigment", "block": "checker",
        "color1": [0.9, 0.9, 0.8], "color2": [0.1, 0.4, 0.2]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7}]}]})";

std::array<double, 3> MeanDifference(const std::filesystem::path& a, const std::filesystem::path& b) {
  image::Image first, second;
  EXPECT_EQ(image::LoadImage(first, a.string()), 1) << a;
  EXPECT_EQ(image::LoadImage(second, b.string()), 1) << b;
  const std::vector<uint8_t> x = image::ToBottomUpBgra(first), y = image::ToBottomUpBgra(second);
  std::array<double, 3> sums{};
  if (x.size() != y.size() || x.empty()) return {255, 255, 255};
  for (size_t i = 0; i < x.size(); i += 4) {
    for (int c = 0; c < 3; ++c) sums[c] += std::abs(int(x[i + c]) - int(y[i + c]));
  }
  for (double& sum : sums) sum /= double(x.size() / 4);
  return sums;
}

TEST(ExportPovCommandTest, BadSizeOrSceneExitsWithTwoAndWritesNothing) {
  platform::ScratchDirectory dir;
  const std::string scene = (dir / "s.json").string(), out = (dir / "s.pov").string();
  std::ofstream(scene) << SceneText(R"({"type": "sphere"})", "");
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
  std::ofstream(scene) << SceneText(R"({"type": "sphere"})", "");
  std::ostringstream err;
  ASSERT_EQ(RunExportPov(scene, out, "300x100", err), 0) << err.str();
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_NE(text.str().find("right -x*3 "), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("+W300 +H100"), std::string::npos);
}

struct Case {
  const char* name;
  const char* objects;
};

// POV-Ray's picture of each export against the ray tracer's picture of the same scene.
TEST(ExportPovCommandTest, PovRayDrawsTheExportAsTheRayTracerDrawsTheScene) {
  if (!std::filesystem::exists(kPovray)) GTEST_SKIP() << kPovray << " is not installed";
  const Case cases[] = {
      {"turned-box", R"({"type": "box", "texture": "Red", "transform": {"scale": [1, 0.5, 0.8],
        "rotate": [20, 35, 10], "translate": [-1.2, 0.3, 0]}})"},
      {"checked-sphere",
       R"({"type": "sphere", "texture": "Checks", "texture_transform": {"scale": [0.5, 0.5, 0.5]},
        "transform": {"scale": [1.5, 1.5, 1.5], "rotate": [0, 30, 0]}})"},
      {"cut-cylinder", R"({"type": "csg", "operation": "difference", "texture": "Red", "children": [
        {"type": "cylinder", "transform": {"scale": [1, 1, 2], "rotate": [-90, 0, 0], "translate": [0, -1, 0]}},
        {"type": "sphere", "transform": {"translate": [0.6, 0.8, -0.6]}}]})"},
      {"torus-and-cone", R"({"type": "torus", "texture": "Red", "major_radius": 1.2, "minor_radius": 0.3,
        "transform": {"rotate": [60, 0, 0], "translate": [-1, 0, 0]}},
        {"type": "cone", "texture": "Checks", "lower_radius": 1, "upper_radius": 0.2,
        "transform": {"rotate": [-90, 0, 0], "translate": [1.5, -1, 0]}})"},
  };
  platform::ScratchDirectory dir;
  for (const Case& c : cases) {
    const std::string base = (dir / c.name).string();
    std::ofstream(base + ".json") << SceneText(c.objects, kMaterials);
    std::ostringstream err;
    ASSERT_EQ(RunExportPov(base + ".json", base + ".pov", "160x120", err), 0) << err.str();
    // POV-Ray's own output gamma would brighten the picture; the ray tracer writes linear values.
    const platform::ShellRun pov =
        platform::RunShell(std::string(kPovray) + " +I'" + base + ".pov' +O'" + base +
                           "-pov.png' +W160 +H120 -D +A0.3 Output_Alpha=off "
                           "File_Gamma=1.0 2>&1");
    ASSERT_EQ(pov.exitCode, 0) << pov.output;
    const platform::ShellRun ours =
        platform::RunShell(std::string("'") + LUMETRA_EXECUTABLE + "' render '" + base +
                           ".json' --method Raytracing --size 160x120 -o '" + base + "-ours.png' 2>&1");
    ASSERT_EQ(ours.exitCode, 0) << ours.output;
    const std::array<double, 3> difference = MeanDifference(base + "-pov.png", base + "-ours.png");
    std::printf("%-16s mean difference r %.2f g %.2f b %.2f\n", c.name, difference[0], difference[1],
                difference[2]);
    for (const double channel : difference) EXPECT_LT(channel, kMeanDifferenceLimit) << c.name;
  }
}

}  // namespace
}  // namespace lumetra::app
