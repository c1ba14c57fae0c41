#include "app/export_pov_command.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

#include "app/testing/kind_scenes.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

constexpr const char* kPovray = "/usr/bin/povray";
// Mean absolute difference per channel (0..255) between POV-Ray's picture of an export and
// the ray tracer's: anti-aliasing and the last bits of the shading differ, nothing more.
constexpr double kMeanDifferenceLimit = 3.0;
// The same for patterns made of noise: each renderer has its own.
constexpr double kNoiseDifferenceLimit = 6.0;

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

// Renders each case's scene (the point light, the case's objects, `materials`, the scene-wide
// media `media`) by both methods and compares the pictures channel by channel against `limit`.
void CompareWithRayTracer(std::span<const testing::Case> cases, const char* materials, double limit,
                          const std::string& media = "") {
  platform::ScratchDirectory dir;
  // The ray tracer draws media only when its shading flags ask for volumes (0x200).
  const std::string environment = "LUMETRA_CONFIG_HOME='" + (dir / "config").string() + "'";
  if (!media.empty()) {
    const platform::ShellRun set = platform::RunShell(
        environment + " '" + LUMETRA_EXECUTABLE + "' settings --set ShadingFlags=8,8,14,14,966,454,454 2>&1");
    ASSERT_EQ(set.exitCode, 0) << set.output;
  }
  // The ray tracer's pictures first: a ray-traced render started while the last POV-Ray
  // render's bridge is still closing can fail.
  for (const testing::Case& c : cases) {
    const std::string base = (dir / c.name).string();
    std::ofstream(base + ".json") << testing::SceneText(c.objects, materials, media);
    testing::Render(base + ".json", "Raytracing", base + "-ours.png", environment);
  }
  for (const testing::Case& c : cases) {
    const std::string base = (dir / c.name).string();
    testing::Render(base + ".json", "POV-Ray", base + "-pov.png", environment);
    const std::array<double, 3> difference = testing::MeanDifference(base + "-pov.png", base + "-ours.png");
    std::printf("%-14s mean difference r %.2f g %.2f b %.2f\n", c.name, difference[0], difference[1],
                difference[2]);
    for (const double channel : difference) EXPECT_LT(channel, limit) << c.name;
  }
}

// One small scene per object kind and light.
void CompareEveryKind() {
  CompareWithRayTracer(testing::kKindCases, testing::kMaterials, kMeanDifferenceLimit);
}

#define SHOWCASE LUMETRA_SOURCE_DIR "/examples/showcase/"
constexpr const char* kTextureMaterials =
    R"({"kind": "material", "name": "Painted", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "image_map", "file": ")" SHOWCASE R"(painting.png",
        "map_type": "planar", "interpolate": true, "interpolation": 2}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7},
      {"kind": "transform", "scale": [2, -2, 1], "translate": [-1, 1, 0]}]}]},
    {"kind": "material", "name": "Mapped", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "pigment_map", "pattern": "gradient", "gradient": [1, 0, 0],
        "children": [
          {"kind": "map_entry", "value": 0, "children": [{"kind": "solid_color", "color": [0.9, 0.2, 0.1]}]},
          {"kind": "map_entry", "value": 0.5, "children": [{"kind": "pigment", "children": [
            {"kind": "block_pigment", "block": "checker", "color1": [0.9, 0.9, 0.8], "color2": [0.1, 0.4, 0.2]},
            {"kind": "transform", "scale": [0.5, 0.5, 0.5]}]}]},
          {"kind": "map_entry", "value": 1, "children": [{"kind": "solid_color", "color": [0.1, 0.2, 0.9]}]}]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7}, {"kind": "transform", "scale": [3, 3, 3]}]}]},
    {"kind": "material", "name": "Layered", "children": [{"kind": "layered_texture", "children": [
      {"kind": "texture", "children": [{"kind": "pigment", "children": [{"kind": "pattern_pigment",
        "pattern": "gradient", "gradient": [0, 1, 0],
        "color_map": [[0, 1, 1, 1, 0, 0.9], [0.5, 0.9, 0.1, 0.1, 0, 0.2], [1, 1, 1, 1, 0, 0.9]]}]},
        {"kind": "finish", "ambient": 0.1, "diffuse": 0.7}, {"kind": "transform", "scale": [0.5, 0.5, 0.5]}]},
      {"kind": "texture", "children": [{"kind": "pigment", "children": [{"kind": "block_pigment",
        "block": "checker", "color1": [0.9, 0.9, 0.8], "color2": [0.1, 0.4, 0.2]}]},
        {"kind": "finish", "ambient": 0.1, "diffuse": 0.7}, {"kind": "transform", "scale": [0.4, 0.4, 0.4]}]}]}]},
    {"kind": "material", "name": "Bumpy", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.8, 0.5, 0.2]}]},
      {"kind": "normal", "children": [{"kind": "pattern_normal", "pattern": "bumps",
        "children": [{"kind": "bump_size", "amount": 0.6}]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7, "phong": 0.6, "phong_size": 40},
      {"kind": "transform", "scale": [0.3, 0.3, 0.3]}]}]})";
#undef SHOWCASE

// Texture nodes drawn by both: an image-mapped box, a pigment map on a wall and a layered
// texture, where nothing but the shading differs; and an object without a material, which
// both draw in the ray tracer's default white.
void CompareTextureNodes() {
  const testing::Case cases[] = {
      {"no_material", R"({"type": "sphere", "transform": {"scale": [1.5, 1.5, 1.5]}})"},
      {"image_map", R"({"type": "box", "texture": "Painted", "transform": {"scale": [1.6, 1.2, 0.5],
        "rotate": [10, 20, 0]}})"},
      {"pigment_map", R"({"type": "plane", "texture": "Mapped", "transform": {"rotate": [0, 20, 0],
        "translate": [0, 0, 1]}})"},
      {"layered", R"({"type": "sphere", "texture": "Layered", "transform": {"scale": [1.5, 1.5, 1.5],
        "rotate": [0, 30, 0]}})"},
  };
  CompareWithRayTracer(cases, kTextureMaterials, kMeanDifferenceLimit);
}

// Bumps follow each renderer's own noise: the same kind and size of bumps, not the same
// bumps, so the limit is looser.
void CompareBumps() {
  const testing::Case cases[] = {
      {"bumps", R"({"type": "sphere", "texture": "Bumpy", "transform": {"scale": [1.5, 1.5, 1.5]}})"},
  };
  CompareWithRayTracer(cases, kTextureMaterials, kNoiseDifferenceLimit);
}

// A medium filling the scene in front of a wall: one that absorbs, one that glows (the
// scene's media is the one named in its environment).
void CompareSceneMedia() {
  constexpr const char* kObjects =
      R"({"type": "sphere", "texture": "Red"}, {"type": "plane", "texture": "Red",
      "transform": {"translate": [0, 0, 3]}}, {"type": "sphere", "texture": "Air",
      "transform": {"translate": [0, 20, 0]}})";
  const std::string materials = std::string(testing::kMaterials) + R"(,
    {"kind": "material", "name": "Air", "children": [{"kind": "interior", "ior": 1, "children": [
      {"kind": "media", "name": "Fog", "children": [{"kind": "absorption", "color": [0.08, 0.05, 0.03]}]},
      {"kind": "media", "name": "Glow", "children": [{"kind": "emission", "color": [0.03, 0.02, 0.02]}]}]}]})";
  for (const char* media : {"Fog", "Glow"}) {
    const testing::Case cases[] = {{media, kObjects}};
    CompareWithRayTracer(cases, materials.c_str(), kMeanDifferenceLimit, media);
  }
}

// POV-Ray's picture of each scene (the whole "POV-Ray" render route: export, bridge, POV-Ray)
// against the ray tracer's picture of it. One test for them all: POV-Ray renders one picture
// on the machine at a time, so they cannot run side by side.
TEST(ExportPovCommandTest, PovRayDrawsEveryKindAsTheRayTracerDrawsIt) {
  if (!std::filesystem::exists(kPovray)) GTEST_SKIP() << kPovray << " is not installed: nothing to compare";
  CompareEveryKind();
  CompareTextureNodes();
  CompareBumps();
  CompareSceneMedia();
}

}  // namespace
}  // namespace lumetra::app
