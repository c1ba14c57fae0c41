#include "app/export_rib_command.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/testing/kind_scenes.h"
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

// Mean absolute difference per channel (0..255) between lumetra-rib's picture of an export
// and the ray tracer's, for a scene of plain colours: the last bits of the shading differ.
constexpr double kPlainLimit = 1.5;
// For every other kind: meshes stand in for the ray tracer's exact shapes along the edges,
// and the library divides patches and smooths meshes its own way.
constexpr double kKindLimit = 5.0;
// Scenes wearing the checker, which RIB gets as its first colour, and spot lights, whose
// RenderMan beam is not the ray tracer's.
constexpr double kApproximatedLimit = 16.0;

// The "RIB" route outside the plug-in: export-rib, then lumetra-rib.
std::array<double, 3> RibAgainstRayTracer(const std::filesystem::path& dir, const char* name,
                                          const std::string& sceneText) {
  const std::string base = (dir / name).string();
  std::ofstream(base + ".json") << sceneText;
  testing::Render(base + ".json", "Raytracing", base + "-ours.png");
  std::ostringstream err;
  EXPECT_EQ(RunExportRib(base + ".json", base + ".rib", "96x72", err), 0) << err.str();
  const platform::ShellRun run = platform::RunShell(std::string("'") + LUMETRA_RIB_EXECUTABLE + "' '" + base +
                                                    ".rib' -o '" + base + "-rib.png' 2>&1");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const std::array<double, 3> difference = testing::MeanDifference(base + "-rib.png", base + "-ours.png");
  std::printf("%-14s mean difference r %.2f g %.2f b %.2f\n", name, difference[0], difference[1],
              difference[2]);
  return difference;
}

TEST(ExportRibCommandTest, LumetraRibDrawsPlainSpheresAndABoxAsTheRayTracerDoes) {
  platform::ScratchDirectory dir;
  const std::string scene = testing::SceneText(
      R"({"type": "point_light", "color": [0.5, 0.5, 0.6], "transform": {"translate": [-6, 3, -4]}},
    {"type": "sphere", "texture": "Red", "transform": {"translate": [-1.3, 0, 0]}},
    {"type": "sphere", "texture": "Blue", "transform": {"scale": [0.7, 0.7, 0.7], "translate": [1.3, 0.2, 0]}},
    {"type": "box", "texture": "Grey", "transform": {"scale": [3, 0.2, 2], "translate": [0, -1.2, 0]}})",
      R"({"kind": "material", "name": "Red", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.9, 0.2, 0.1]}]}]}]},
    {"kind": "material", "name": "Blue", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.1, 0.3, 0.9]}]},
      {"kind": "finish", "ambient": 0.2, "diffuse": 0.5}]}]},
    {"kind": "material", "name": "Grey", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.7, 0.7, 0.7]}]}]}]})");
  for (const double channel : RibAgainstRayTracer(dir.Path(), "plain", scene))
    EXPECT_LT(channel, kPlainLimit);
}

TEST(ExportRibCommandTest, LumetraRibDrawsEveryKindAsTheRayTracerDrawsIt) {
  platform::ScratchDirectory dir;
  for (const testing::Case& c : testing::kKindCases) {
    const std::array<double, 3> difference =
        RibAgainstRayTracer(dir.Path(), c.name, testing::SceneText(c.objects, testing::kMaterials));
    const bool approximated =
        std::strstr(c.objects, "\"Checks\"") != nullptr || std::strcmp(c.name, "spot_light") == 0;
    for (const double channel : difference)
      EXPECT_LT(channel, approximated ? kApproximatedLimit : kKindLimit) << c.name;
  }
}

// Meshes stay solids: a rounded box with a blob's rod cut out of it.
TEST(ExportRibCommandTest, LumetraRibCutsMeshesAsTheRayTracerCutsTheirShapes) {
  platform::ScratchDirectory dir;
  const std::string scene = testing::SceneText(
      R"({"type": "csg", "operation": "difference", "texture": "Red", "children": [
    {"type": "superquadric", "e": 0.3, "r": 0.3, "transform": {"scale": [1.5, 1.5, 1.5]}},
    {"type": "blob", "threshold": 0.5, "components": [{"kind": "cylinder", "from": [-2, 0, -2], "to": [2, 0, 2],
      "radius": 1, "strength": 1}]}]})",
      testing::kMaterials);
  for (const double channel : RibAgainstRayTracer(dir.Path(), "cut_meshes", scene))
    EXPECT_LT(channel, kKindLimit);
}

}  // namespace
}  // namespace lumetra::app
