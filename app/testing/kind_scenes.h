// Small scenes of every object kind and light, rendered by the ray tracer and by the
// outside renderers' routes and compared picture to picture.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "image/image_bgra.h"
#include "image/image_loader.h"
#include "platform/testing/child_process.h"

namespace lumetra::app::testing {

// A 160 x 120 scene lit by one point light, seen by a camera 7 units back; `media` names the
// material whose media fill the scene.
inline std::string SceneText(const std::string& objects, const std::string& materials,
                             const std::string& media = "") {
  return R"({"format": "lumetra-scene", "version": 1, "render": {"width": 160, "height": 120},
    "environment": {"background": [0.2, 0.3, 0.5], "ambient": [0.2, 0.2, 0.2], "max_depth": 5, "min_weight": 0.01,
      "media": ")" +
         media + R"("},
    "cameras": [{"type": "camera", "active": true, "fov": 50, "location": [1, 2, -7], "look_at": [0, 0, 0]}],
    "objects": [{"type": "point_light", "transform": {"translate": [5, 8, -6]}}, )" +
         objects + R"(], "materials": [)" + materials + "]}";
}

inline constexpr const char* kMaterials =
    R"({"kind": "material", "name": "Red", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0.9, 0.2, 0.1]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7, "phong": 0.5, "phong_size": 40}]}]},
    {"kind": "material", "name": "Checks", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "block_pigment", "block": "checker",
        "color1": [0.9, 0.9, 0.8], "color2": [0.1, 0.4, 0.2]}]},
      {"kind": "finish", "ambient": 0.1, "diffuse": 0.7}]}]})";

// Mean absolute difference per channel (red, green, blue), 0..255; 255 when the pictures differ in size.
inline std::array<double, 3> MeanDifference(const std::filesystem::path& a, const std::filesystem::path& b) {
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
  return {sums[2], sums[1], sums[0]};  // the buffer's blue, green, red as red, green, blue
}

struct Case {
  const char* name;
  const char* objects;
};

// Renders a scene by one method at the comparison's size, with `environment` (NAME=value
// words) before the command.
inline void Render(const std::string& scene, const char* method, const std::string& picture,
                   const std::string& environment = "") {
  const platform::ShellRun run =
      platform::RunShell(environment + " '" + LUMETRA_EXECUTABLE + "' render '" + scene + "' --method " +
                         method + " --size 96x72 -o '" + picture + "' 2>&1");
  ASSERT_EQ(run.exitCode, 0) << method << ": " << run.output;
}

#define SHOWCASE LUMETRA_SOURCE_DIR "/examples/showcase/"

// One scene per object kind and light; the texture "Checks" is a block pattern.
inline constexpr Case kKindCases[] = {
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

#undef SHOWCASE

}  // namespace lumetra::app::testing
