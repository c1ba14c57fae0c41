#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "host/pov_writer.h"
#include "host/scene_file.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::host {
namespace {

const std::string kShowcase = std::string(LUMETRA_SOURCE_DIR) + "/examples/showcase/";

// `extra`: further sections of the scene, each after a comma.
Scene SceneOf(const std::string& material, const std::string& path, const std::string& extra = "") {
  return ParseScene(
      R"({"format": "lumetra-scene", "version": 1, "objects": [{"type": "sphere", "texture": "M"}],
        "materials": [{"kind": "material", "name": "M", "children": [)" +
          material + "]}]" + extra + "}",
      path);
}

// The POV-Ray file of one sphere wearing material "M" of `material` (its children).
std::string Pov(const std::string& material, const PovOptions& options = {}) {
  const Scene scene = SceneOf(material, kShowcase + "showcase.json");
  std::ostringstream out;
  WritePovScene(scene, out, options);
  return out.str();
}

// A standard texture of the given pigment and further children.
std::string Texture(const std::string& pigment, const std::string& more = "") {
  return R"({"kind": "texture", "children": [{"kind": "pigment", "children": [)" + pigment + "]}" +
         (more.empty() ? "" : ", " + more) + "]}";
}

constexpr const char* kRed = R"({"kind": "solid_color", "color": [1, 0, 0]})";
constexpr const char* kBlue = R"({"kind": "solid_color", "color": [0, 0, 1]})";

#define EXPECT_WRITES(pov, text) EXPECT_NE((pov).find(text), std::string::npos) << (pov)

TEST(PovTexturesTest, MapsKeepTheirEntriesInOrderWithTheirValues) {
  const std::string pigments = Pov(Texture(R"({"kind": "pigment_map", "pattern": "bozo", "children": [
      {"kind": "map_entry", "value": 0.2, "children": [{"kind": "pigment", "children": [)" +
                                           std::string(kRed) + R"(]}]},
      {"kind": "map_entry", "value": 0.7, "children": [)" +
                                           kBlue + R"(]}, {"kind": "map_entry", "value": 0.9}]})"));
  // The empty entry stays out, as it does from the ray tracer's map.
  EXPECT_WRITES(pigments, "pigment { bozo pigment_map { [0.2  rgb <1, 0, 0>] [0.7  rgb <0, 0, 1>] } }");

  const std::string textures = Pov(R"({"kind": "texture_map", "pattern": "onion", "children": [
      {"kind": "map_entry", "value": 0, "children": [)" +
                                   Texture(kRed) + R"(]}, {"kind": "map_entry", "value": 1, "children": [)" +
                                   Texture(kBlue) + R"(]}, {"kind": "transform", "scale": [2, 2, 2]}]})");
  EXPECT_WRITES(
      textures,
      "texture { onion texture_map { [0  pigment { rgb <1, 0, 0> }] [1  pigment { rgb <0, 0, 1> }] }"
      " scale <2, 2, 2> }");

  const std::string blocks = Pov(
      Texture(R"({"kind": "block_pigment_map", "block": "brick", "brick_size": [2, 1, 1], "mortar": 0.1,
      "children": [)" +
              std::string(kBlue) + R"(, {"kind": "map_entry", "value": 0, "children": [)" + kRed + "]}]}"));
  EXPECT_WRITES(blocks,
                "brick pigment { rgb <0, 0, 1> }, pigment { rgb <1, 0, 0> } brick_size <2, 1, 1> "
                "mortar 0.1 }");
}

TEST(PovTexturesTest, PatternsMeanWhatTheRayTracerComputes) {
  // The ray tracer's gradient mirrors at zero; average and density_file are 0 everywhere.
  const std::string gradient = Pov(Texture(
      R"({"kind": "pattern_pigment", "pattern": "gradient", "gradient": [0, 2, -1], "color_map": [[0, 1, 1, 1]]})"));
  EXPECT_WRITES(gradient, "pigment { function { abs(y * 2) + abs(z * -1) } color_map {");
  const std::string average =
      Pov(Texture(R"({"kind": "pattern_pigment", "pattern": "average", "color_map": [[0, 1, 0, 0]]})"));
  EXPECT_WRITES(average, "pigment { function { 0 } color_map { [0 rgb <1, 0, 0>] } }");
  const std::string density =
      Pov(Texture(R"({"kind": "pattern_pigment", "pattern": "density_file", "color_map": [[0, 1, 0, 0]]})"));
  EXPECT_WRITES(density, "pigment { function { 0 }");
}

TEST(PovTexturesTest, NormalsCarryTheBumpSizeTheRayTracerUses) {
  const auto normal = [](const std::string& inner) {
    return Pov(Texture(kRed, R"({"kind": "normal", "children": [)" + inner + "]}"));
  };
  // The wrapper's bump size outranks the pattern's own; without either the default 0.5.
  EXPECT_WRITES(normal(R"({"kind": "pattern_normal", "pattern": "bumps", "children": [
      {"kind": "bump_size", "amount": 0.2}]}, {"kind": "bump_size", "amount": 0.8})"),
                "normal { bumps bump_size 0.8 }");
  EXPECT_WRITES(normal(R"({"kind": "pattern_normal", "pattern": "dents", "children": [
      {"kind": "bump_size", "amount": 0.2}]})"),
                "normal { dents bump_size 0.2 }");
  EXPECT_WRITES(normal(R"({"kind": "pattern_normal", "pattern": "ripples"})"),
                "normal { ripples bump_size 0.5 }");
  EXPECT_WRITES(
      normal(R"({"kind": "block_normal", "block": "checker", "children": [
      {"kind": "pattern_normal", "pattern": "waves"}, {"kind": "pattern_normal", "pattern": "wrinkles"},
      {"kind": "bump_size", "amount": 0.3}]})"),
      "normal { checker normal { waves bump_size 0.5 }, normal { wrinkles bump_size 0.5 } bump_size 0.3 }");
  EXPECT_WRITES(normal(R"({"kind": "normal_map", "pattern": "agate", "children": [
      {"kind": "map_entry", "value": 0.5, "children": [{"kind": "pattern_normal", "pattern": "bumps"}]}]})"),
                "normal { agate agate_turb 1 normal_map { [0.5  bumps bump_size 0.5] } }");
  // A bump map's own default is 1.
  EXPECT_WRITES(
      normal(R"({"kind": "bump_map", "file": "terrain.png", "map_type": "planar", "use_index": true})"),
      "normal { bump_map { png \"" + kShowcase +
          "terrain.png\" gamma 1.0 map_type 0 use_index } scale <1, -1, 1> translate <0, 1, 0> "
          "bump_size 1 }");
  // A wrapper without a normal perturbs nothing: no normal block at all.
  EXPECT_EQ(normal("").find("normal {"), std::string::npos) << normal("");
}

TEST(PovTexturesTest, WarpsAndNoiseStayInTheirOrder) {
  const std::string pov =
      Pov(Texture(R"({"kind": "pattern_pigment", "pattern": "bozo", "color_map": [[0, 1, 1, 1]],
      "children": [{"kind": "transform", "scale": [2, 2, 2]},
        {"kind": "warp", "warp": "black_hole", "centre": [1, 0, 0], "radius": 2, "falloff": 3, "strength": 0.5,
         "repeat": [4, 0, 0], "jitter": [0.1, 0, 0], "inverse": true},
        {"kind": "noise_modifiers", "turbulence": 0.3, "octaves": 3, "frequency": 2},
        {"kind": "warp", "warp": "repeat", "width": [0, 1.5, 0], "offset": [0.5, 0, 0], "flip": [1, 0, 0]},
        {"kind": "warp", "warp": "turbulence", "turbulence": [0.1, 0.2, 0.3], "octaves": 4, "omega": 0.4,
         "lambda": 3}]})"));
  EXPECT_WRITES(
      pov,
      "color_map { [0 rgb <1, 1, 1>] } scale <2, 2, 2> warp { black_hole <1, 0, 0>, 2 falloff 3 "
      "strength 0.5 repeat <4, 0, 0> turbulence <0.1, 0, 0> inverse } warp { turbulence "
      "<0.3, 0.3, 0.3> octaves 3 omega 0.5 lambda 2 } frequency 2 ramp_wave warp { repeat <0, 1.5, 0> "
      "offset <0.5, 0, 0> flip <1, 0, 0> } warp { turbulence <0.1, 0.2, 0.3> octaves 4 omega 0.4 "
      "lambda 3 } }");
  // Marble and wood take the turbulence into their own formula, where POV-Ray's classic
  // turbulence stands.
  const std::string marble = Pov(Texture(R"({"kind": "pattern_pigment", "pattern": "wood",
      "color_map": [[0, 1, 1, 1]]}, {"kind": "noise_modifiers", "turbulence": 0.3})"));
  EXPECT_WRITES(marble,
                "pigment { wood color_map { [0 rgb <1, 1, 1>] } turbulence <0.3, 0.3, 0.3> octaves 6");
  // Beside a map the noise warps, whatever the map's pattern.
  const std::string map =
      Pov(Texture(R"({"kind": "pigment_map", "pattern": "marble", "children": [
      {"kind": "map_entry", "value": 0, "children": [)" +
                  std::string(kRed) + R"(]}]}, {"kind": "noise_modifiers", "turbulence": 0.3})"));
  EXPECT_WRITES(map, "marble pigment_map { [0  rgb <1, 0, 0>] } warp { turbulence <0.3, 0.3, 0.3>");
}

TEST(PovTexturesTest, ImagesAreNamedByTheHookAndPlacedAsTheRayTracerPlacesThem) {
  std::string seen;
  const PovOptions renamed{[&](const std::string& found) {
    seen = found;
    return "copy.png";
  }};
  const std::string planar =
      Pov(Texture(R"({"kind": "image_map", "file": "painting.png", "map_type": "planar",
      "once": true, "interpolate": true, "interpolation": 2})"),
          renamed);
  EXPECT_EQ(seen, kShowcase + "painting.png");
  EXPECT_WRITES(planar,
                "pigment { image_map { png \"copy.png\" gamma 1.0 map_type 0 once interpolate 2 } "
                "scale <1, -1, 1> translate <0, 1, 0> }");
  // The ray tracer filters only when both settings ask for it.
  const std::string unfiltered = Pov(Texture(
      R"({"kind": "image_map", "file": "painting.png", "map_type": "spherical", "interpolation": 2})"));
  EXPECT_WRITES(unfiltered, "map_type 1 } matrix <-1, 0, 0, 0, 0, -1, 0, -1, 0, 0, 0, 0> }");
  const std::string uv = Pov(Texture(R"({"kind": "image_map", "file": "painting.png", "map_type": "uv"})"));
  EXPECT_WRITES(uv, "pigment { uv_mapping image_map { png");
  EXPECT_EQ(uv.find("map_type"), std::string::npos) << uv;
  // An image gone since the scene was read is named in a comment; the pigment stays white.
  platform::ScratchDirectory dir;
  std::filesystem::copy_file(kShowcase + "painting.png", dir / "gone.png");
  const Scene scene =
      SceneOf(Texture(R"({"kind": "image_map", "file": "gone.png"})"), (dir / "s.json").string());
  std::filesystem::remove(dir / "gone.png");
  std::ostringstream missing;
  WritePovScene(scene, missing);
  EXPECT_WRITES(missing.str(), "// image \"gone.png\" is not found\n  rgb 1 }");

  const std::string materials = Pov(R"({"kind": "material_map", "file": "painting.png", "map_type": "planar",
      "children": [)" + Texture(kRed) +
                                    ", " + Texture(kBlue) + "]}");
  EXPECT_WRITES(materials,
                "texture { material_map { png \"" + kShowcase +
                    "painting.png\" gamma 1.0 map_type 0 texture { pigment { rgb <1, 0, 0> } } "
                    "texture { pigment { rgb <0, 0, 1> } } } scale <1, -1, 1> translate <0, 1, 0> }");
}

TEST(PovTexturesTest, LayersStackWithTheRayTracersFirstLayerOnTop) {
  const std::string pov = Pov(R"({"kind": "layered_texture", "children": [)" + Texture(kRed) + ", " +
                              Texture(kBlue) + R"(, {"kind": "transform", "translate": [1, 0, 0]}]})");
  EXPECT_WRITES(pov,
                "#declare Lumetra_Material_0 = texture { pigment { rgb <0, 0, 1> } translate <1, 0, 0> } "
                "texture { pigment { rgb <1, 0, 0> } translate <1, 0, 0> }\n");
  // POV-Ray layers nothing over a patterned texture: a block on top is left out, named.
  const std::string patterned = Pov(
      R"({"kind": "layered_texture", "children": [{"kind": "block_texture", "block": "checker", "children": [)" +
      Texture(kRed) + ", " + Texture(kBlue) + "]}, " + Texture(kBlue) + "]}");
  EXPECT_WRITES(patterned, "texture node kind 5 is patterned");
  EXPECT_EQ(patterned.find("checker"), std::string::npos) << patterned;
}

TEST(PovTexturesTest, MediaMeanWhatTheRayTracerDraws) {
  const std::string pov = Pov(Texture(R"({"kind": "solid_color", "color": [0, 0, 0, 0, 1]})") +
                              R"(, {"kind": "interior", "ior": 1.2, "children": [{"kind": "media",
      "method": 3, "method_on": true, "intervals": 5, "samples_min": 2, "samples_max": 1, "children": [
        {"kind": "absorption", "color": [0.5, 0.2, 0.1]}, {"kind": "emission", "color": [0, 1, 0]},
        {"kind": "scattering", "color": [0.2, 0.2, 0.2]},
        {"kind": "density", "children": [)" +
                              kRed + R"(]}, {"kind": "density", "children": [)" + kBlue + "]}]}]}");
  // Emission with a red of 0 is off; two densities add up: their average, doubled.
  EXPECT_WRITES(pov, "interior { ior 1.2 media { method 3 intervals 5 samples 2, 2 ");
  EXPECT_WRITES(pov,
                "scattering { 1, rgb <0.4, 0.4, 0.4> extinction 1.5 } absorption rgb <1, 0.4, 0.2> density "
                "{ average density_map { [1 rgb <1, 0, 0>] [1 rgb <0, 0, 1>] } } } }");
  EXPECT_EQ(pov.find("emission"), std::string::npos) << pov;
  EXPECT_WRITES(pov, "interior { Lumetra_Interior_0 } hollow");

  // Scattering with an extinction set lights but does not dim; scattering with a red of 0
  // does not light but dims.
  const auto media = [](const std::string& settings, const std::string& colours) {
    return Pov(Texture(kRed) + R"(, {"kind": "interior", "ior": 1, "children": [{"kind": "media", )" +
               settings + R"(, "children": [)" + colours + "]}]}");
  };
  const std::string lit = media(R"("extinction": 2, "extinction_on": true)",
                                R"({"kind": "scattering", "color": [0.3, 0.3, 0.3]})");
  EXPECT_WRITES(lit, "scattering { 1, rgb <0.3, 0.3, 0.3> extinction 0 } }");
  const std::string dark =
      media(R"("extinction": 0, "extinction_on": true)", R"({"kind": "absorption", "color": [0.1, 0, 0]},
      {"kind": "scattering", "color": [0, 0.4, 0]})");
  EXPECT_WRITES(dark, "absorption rgb <0.1, 0.4, 0> }");
  EXPECT_EQ(dark.find("scattering"), std::string::npos) << dark;
}

TEST(PovTexturesTest, TheScenesMediaFillTheSceneInsteadOfTheObject) {
  const Scene scene = SceneOf(Texture(kRed) + R"(, {"kind": "interior", "ior": 1.1, "children": [
      {"kind": "media", "name": "Fog", "children": [{"kind": "absorption", "color": [0.1, 0.1, 0.1]}]},
      {"kind": "media", "name": "Own", "children": [{"kind": "emission", "color": [0.2, 0, 0]}]}]})",
                              kShowcase + "showcase.json", R"(, "environment": {"media": "Fog"})");
  std::ostringstream out;
  WritePovScene(scene, out);
  const std::string pov = out.str();
  const size_t interior = pov.find("interior { ior 1.1 media {");
  const size_t fog = pov.find("// scene-wide media \"Fog\"\n media {");
  ASSERT_NE(interior, std::string::npos) << pov;
  ASSERT_NE(fog, std::string::npos) << pov;
  // The interior keeps only its own media; the scene's stands alone, before the objects.
  EXPECT_EQ(pov.find("absorption", interior), pov.find("absorption", fog)) << pov;
  EXPECT_LT(pov.find("emission", interior), fog) << pov;
  EXPECT_LT(fog, pov.find("sphere {")) << pov;
}

}  // namespace
}  // namespace lumetra::host
