#include "app/export_pov_command.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <span>
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
// The same for patterns made of noise: each renderer has its own.
constexpr double kNoiseDifferenceLimit = 6.0;

std::string SceneText(const std::string& objects, const std::string& materials,
                      const std::string& media = "") {
  return R"({"format": "lumetra-scene", "version": 1, "render": {"width": 160, "height": 120},
    "environment": {"background": [0.2, 0.3, 0.5], "ambient": [0.2, 0.2, 0.2], "max_depth": 5, "min_weight": 0.01,
      "media": ")" +
         media + R"("},
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

// Renders a scene by one method at the comparison's size, with `environment` (NAME=value
// words) before the command.
void Render(const std::string& scene, const char* method, const std::string& picture,
            const std::string& environment) {
  const platform::ShellRun run =
      platform::RunShell(environment + " '" + LUMETRA_EXECUTABLE + "' render '" + scene + "' --method " +
                         method + " --size 96x72 -o '" + picture + "' 2>&1");
  ASSERT_EQ(run.exitCode, 0) << method << ": " << run.output;
}

#define SHOWCASE LUMETRA_SOURCE_DIR "/examples/showcase/"

// Renders each case's scene (the point light, the case's objects, `materials`, the scene-wide
// media `media`) by both methods and compares the pictures channel by channel against `limit`.
void CompareWithRayTracer(std::span<const Case> cases, const char* materials, double limit,
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
  for (const Case& c : cases) {
    const std::string base = (dir / c.name).string();
    std::ofstream(base + ".json") << SceneText(c.objects, materials, media);
    Render(base + ".json", "Raytracing", base + "-ours.png", environment);
  }
  for (const Case& c : cases) {
    const std::string base = (dir / c.name).string();
    Render(base + ".json", "POV-Ray", base + "-pov.png", environment);
    const std::array<double, 3> difference = MeanDifference(base + "-pov.png", base + "-ours.png");
    std::printf("%-14s mean difference r %.2f g %.2f b %.2f\n", c.name, difference[0], difference[1],
                difference[2]);
    for (const double channel : difference) EXPECT_LT(channel, limit) << c.name;
  }
}

// One small scene per object kind and light.
void CompareEveryKind() {
  const Case cases[] = {
      {"box", R"({"type": "box", "texture": "Red", "transform": {"scale": [1, 0.5, 0.8],
        "rotate": [20, 35, 10], "translate": [-1.2, 0.3, 0]}})"},
      {"sphere", R"({"type": "sphere", "texture": "Checks", "texture_transform": {"scale": [0.5, 0.5, 0.5]},
        "transform": {"scale": [1.5, 1.5, 1.5], "rotate": [0, 30, 0]}})"},
      {"cylinder", R"({"type": "cylinder", "texture": "Red", "transform": {"rotate": [-70, 0, 0]}})"},
      {"cone", R"({"type": "cone", "texture": "Checks", "lower_radius": 1, "upper_radius": 0.2,
        "transform": {"rotate": [-90, 0, 0], "translate": [0, -1, 0]}})"},
      {"torus", R"({"type": "torus", "texture": "Red", "major_radius": 1.2, "minor_radius": 0.3,
        "transform": {"rotate": [60, 0, 0]}})"},
      {"disc",
       R"({"type": "disc", "texture": "Red", "inner_radius": 0.4, "transform": {"rotate": [50, 0, 0]}})"},
      {"plane", R"({"type": "plane", "texture": "Red", "transform": {"rotate": [90, 0, 0],
        "translate": [0, -1, 0]}})"},
      {"csg", R"({"type": "csg", "operation": "difference", "texture": "Red", "children": [
        {"type": "cylinder", "transform": {"scale": [1, 1, 2], "rotate": [-90, 0, 0], "translate": [0, -1, 0]}},
        {"type": "sphere", "transform": {"translate": [0.6, 0.8, -0.6]}}]})"},
      {"group", R"({"type": "group", "transform": {"rotate": [0, 30, 0]}, "children": [
        {"type": "box", "texture": "Red", "transform": {"translate": [-1.2, 0, 0], "scale": [0.6, 0.6, 0.6]}},
        {"type": "sphere", "texture": "Checks", "transform": {"translate": [1.2, 0, 0]}}]})"},
      {"sweep", R"({"type": "sweep", "texture": "Red", "spline": "quadratic", "extrusion": [0, 1],
        "points": [[0, 0, 0], [1.5, 0, 0], [1, 1, 0], [0, 1.4, 0]], "transform": {"rotate": [30, 20, 0]}})"},
      {"lathe", R"({"type": "lathe", "texture": "Red", "spline": "bezier",
        "points": [[0.2, -1, 0], [1.5, -0.5, 0], [0.1, 0.3, 0], [1.2, 1, 0]]})"},
      {"extrusion", R"({"type": "extrusion", "texture": "Red", "spline": "cubic", "corners": [0],
        "extrusion": [0.2, 1.5], "points": [[-1, -1, 0], [1, -1, 0], [1, 1, 0], [-1, 1, 0]],
        "transform": {"rotate": [-60, 20, 0]}})"},
      {"spline_mesh", R"({"type": "spline_mesh", "texture": "Red", "subdivision_u": 8, "subdivision_v": 8,
        "points": [[-1.5, -1.5, -1], [-0.5, -1.5, -1], [0.5, -1.5, -1], [1.5, -1.5, -1],
                   [-1.5, -0.5, -1], [-0.5, -0.5, 0], [0.5, -0.5, 1], [1.5, -0.5, -1],
                   [-1.5, 0.5, -1], [-0.5, 0.5, 1], [0.5, 0.5, 0], [1.5, 0.5, 0],
                   [-1.5, 1.5, -1], [-0.5, 1.5, 0], [0.5, 1.5, 0], [1.5, 1.5, 1]],
        "patches": [[0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15]]})"},
      {"height_field", R"({"type": "height_field", "texture": "Red", "image": ")" SHOWCASE R"(terrain.png",
        "smooth": true, "transform": {"scale": [2, 2, 0.5], "rotate": [-60, 0, 0]}})"},
      {"mesh_file", R"({"type": "mesh_file", "texture": "Red", "file": ")" SHOWCASE R"(pyramid.obj",
        "transform": {"rotate": [0, 30, 0]}})"},
      {"polygon_mesh", R"({"type": "polygon_mesh", "texture": "Red",
        "vertices": [[-1, -1, 0], [1, -1, 0.5], [0, 1, 0], [0, 0, -1]], "faces": [[0, 1, 2], [0, 3, 1], [1, 3, 2]]})"},
      {"clone", R"({"type": "sphere", "name": "Ball", "texture": "Red", "transform": {"scale": [0.5, 1, 0.5],
        "translate": [-1, 0, 0]}}, {"type": "clone", "source": "Ball", "texture": "Checks",
        "transform": {"translate": [2, 0, 0]}})"},
      {"blob", R"({"type": "blob", "texture": "Red", "threshold": 0.5, "components": [
        {"kind": "sphere", "centre": [-0.5, 0, 0], "radius": 1.2, "strength": 1},
        {"kind": "cylinder", "from": [0, 0, 0], "to": [1.2, 1, 0], "radius": 0.6, "strength": 1}]})"},
      {"superquadric", R"({"type": "superquadric", "texture": "Red", "e": 0.3, "r": 2,
        "transform": {"rotate": [20, 30, 0]}})"},
      {"text", R"({"type": "text", "texture": "Red", "text": "Hi Ray", "font": "DejaVuSans.ttf", "size": 1.2,
        "depth": 0.3, "spacing": 0.05, "transform": {"translate": [-2, -0.5, 0]}})"},
      {"plugin_object", R"({"type": "plugin_object", "kind": "triangle_mesh", "texture": "Checks",
        "vertices": [[-1.5, -1, 0], [1.5, -1, 0], [0, 1.5, 0.5]], "faces": [[0, 1, 2]]})"},
      {"spot_light", R"({"type": "spot_light", "radius": 15, "falloff": 25, "tightness": 0,
        "transform": {"rotate": [0, 180, 0], "translate": [0, 0, -6]}}, {"type": "plane", "texture": "Red",
        "transform": {"translate": [0, 0, 1]}})"},
      {"area_light", R"({"type": "area_light", "samples": [3, 3, 0], "transform": {"translate": [-3, 4, -3]}},
        {"type": "sphere", "texture": "Red"}, {"type": "plane", "texture": "Red",
        "transform": {"rotate": [90, 0, 0], "translate": [0, -1, 0]}})"},
  };
  CompareWithRayTracer(cases, kMaterials, kMeanDifferenceLimit);
}

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

// Texture nodes drawn by both: an image-mapped box, a pigment map on a wall and a layered
// texture, where nothing but the shading differs.
void CompareTextureNodes() {
  const Case cases[] = {
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
  const Case cases[] = {
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
  const std::string materials = std::string(kMaterials) + R"(,
    {"kind": "material", "name": "Air", "children": [{"kind": "interior", "ior": 1, "children": [
      {"kind": "media", "name": "Fog", "children": [{"kind": "absorption", "color": [0.08, 0.05, 0.03]}]},
      {"kind": "media", "name": "Glow", "children": [{"kind": "emission", "color": [0.03, 0.02, 0.02]}]}]}]})";
  for (const char* media : {"Fog", "Glow"}) {
    const Case cases[] = {{media, kObjects}};
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
