#include "host/pov_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "abi/object_params.h"
#include "host/scene_file.h"

namespace lumetra::host {
namespace {

std::string Pov(const std::string& objects, const std::string& extra = "") {
  const Scene scene =
      ParseScene(R"({"format": "lumetra-scene", "version": 1, "objects": [)" + objects + "]" + extra + "}",
                 "/tmp/pov-writer-test.json");
  std::ostringstream out;
  WritePovScene(scene, out);
  return out.str();
}

constexpr const char* kRed = R"(, "materials": [{"kind": "material", "name": "Red", "children": [
  {"kind": "texture", "children": [{"kind": "pigment", "children": [{"kind": "solid_color", "color": [1, 0, 0]}]},
  {"kind": "finish", "phong": 0.5, "children": [{"kind": "reflection_color", "color": [0.2, 0.2, 0.2]}]}]}]}])";

TEST(PovWriterTest, CameraKeepsTheRightHandedWorldAndTheCamerasAspectAndFieldOfView) {
  const std::string pov = Pov("", R"(, "cameras": [{"type": "camera", "active": true, "fov": 60, "aspect": 2,
    "location": [1, 2, -8], "look_at": [0, 1, 0], "up": [0, 1, 0]}])");
  EXPECT_NE(pov.find("location <1, 2, -8> right -x*2 up y sky <0, 1, 0> angle 60 look_at <0, 1, 0>"),
            std::string::npos)
      << pov;
  // look_at must follow right and angle, or POV-Ray aims before it knows the handedness.
  EXPECT_LT(pov.find("right -x"), pov.find("look_at"));
}

TEST(PovWriterTest, CameraFollowsItsLinkedObjectsAndWithoutOneTakesTheDefaultView) {
  const std::string linked =
      Pov(R"({"type": "sphere", "name": "Target", "transform": {"translate": [3, 0, 0]}})",
          R"(, "cameras": [{"type": "camera", "active": true, "look_at_object": "Target",
    "location": [0, 0, -5], "look_at": [0, 1, 0]}])");
  EXPECT_NE(linked.find("look_at <3, 1, 0>"), std::string::npos) << linked;
  const std::string none = Pov("", R"(, "cameras": [{"type": "camera", "active": false}])");
  EXPECT_NE(none.find("location <0, 0, -10> right x*"), std::string::npos) << none;
}

TEST(PovWriterTest, TransformsRotateTheOtherWayAndFlattenZeroScales) {
  const std::string pov = Pov(R"({"type": "box", "transform": {"scale": [2, 0, 1], "rotate": [10, -20, 30],
    "translate": [1, 2, 3]}})");
  EXPECT_NE(pov.find("scale <2, 2e-06, 1> rotate <-10, 20, -30> translate <1, 2, 3> }"), std::string::npos)
      << pov;
}

TEST(PovWriterTest, LocalTransformMovesTheShapeBeforeTheTextureIsAttached) {
  const std::string pov = Pov(R"({"type": "sphere", "texture": "Red",
    "local_transform": {"scale": [1, 1, 1], "rotate": [0, 0, 0], "translate": [0, 5, 0]},
    "transform": {"translate": [7, 0, 0]}, "texture_transform": {"scale": [3, 3, 3]}})",
                              kRed);
  const size_t local = pov.find("translate <0, 5, 0>");
  const size_t texture = pov.find("texture { Lumetra_Material_0 scale <3, 3, 3> }");
  const size_t global = pov.find("translate <7, 0, 0>");
  ASSERT_NE(local, std::string::npos) << pov;
  ASSERT_NE(texture, std::string::npos) << pov;
  EXPECT_LT(local, texture);
  EXPECT_LT(texture, global);
  EXPECT_NE(pov.find("finish { ambient 0.1 diffuse 0.6 brilliance 1 phong 0.5 phong_size 40 reflection rgb "
                     "<0.2, 0.2, 0.2> }"),
            std::string::npos)
      << pov;
}

TEST(PovWriterTest, LockedTextureUndoesTheObjectsTransformInReverse) {
  const std::string pov = Pov(R"({"type": "sphere", "texture": "Red", "texture_lock": "object",
    "transform": {"scale": [2, 4, 1], "rotate": [10, 20, 30], "translate": [1, 0, 0]}})",
                              kRed);
  EXPECT_NE(
      pov.find("texture { Lumetra_Material_0 translate <-1, -0, -0> rotate z*30 rotate y*20 rotate x*10 "
               "scale <0.5, 0.25, 1> }"),
      std::string::npos)
      << pov;
}

TEST(PovWriterTest, ShapesKeepTheRayTracersAxesAndSizes) {
  const std::string pov = Pov(R"({"type": "torus", "major_radius": 2, "minor_radius": 0.5},
    {"type": "cone", "lower_radius": 1, "upper_radius": 0.25, "open": true},
    {"type": "cylinder", "open": false}, {"type": "plane"}, {"type": "disc", "inner_radius": 0.3})");
  EXPECT_NE(pov.find("torus { 2, 0.5 rotate x*90"), std::string::npos) << pov;
  EXPECT_NE(pov.find("cone { <0, 0, 0>, 1, <0, 0, 1>, 0.25 open"), std::string::npos) << pov;
  EXPECT_NE(pov.find("cylinder { <0, 0, 0>, <0, 0, 1>, 1  //"), std::string::npos) << pov;
  EXPECT_NE(pov.find("disc { <0, 0, 0>, z, 10000"), std::string::npos) << pov;
  EXPECT_NE(pov.find("disc { <0, 0, 0>, z, 1, 0.3"), std::string::npos) << pov;
}

TEST(PovWriterTest, CsgNestsItsChildrenInsideTheOperationAndTheGroupTransformFollows) {
  const std::string pov = Pov(R"({"type": "csg", "operation": "difference", "name": "Cut",
    "transform": {"translate": [0, 9, 0]}, "children": [{"type": "box"}, {"type": "sphere", "render": false},
    {"type": "sphere", "transform": {"translate": [1, 0, 0]}}]})");
  const size_t open = pov.find("difference {  // \"Cut\"");
  ASSERT_NE(open, std::string::npos) << pov;
  EXPECT_LT(open, pov.find("  box {"));
  EXPECT_LT(pov.find("translate <1, 0, 0> }"), pov.find("translate <0, 9, 0> }"));
  EXPECT_NE(pov.find("not rendered"), std::string::npos);
}

TEST(PovWriterTest, LightsFadeAndShadowAsTheRayTracerDoes) {
  const std::string pov = Pov(R"({"type": "spot_light", "color": [1, 0.5, 0], "radius": 20, "falloff": 30,
    "tightness": 5, "fade_distance": 4, "fade_power": 2, "no_shadows": true},
    {"type": "area_light", "samples": [3, 5, 0], "jitter": true})");
  EXPECT_NE(pov.find("rgb <1, 0.5, 0> spotlight point_at <0, 0, -2> radius 20 falloff 30 tightness 5 "
                     "fade_distance 4 fade_power 2 shadowless"),
            std::string::npos)
      << pov;
  EXPECT_NE(pov.find("area_light <2, 0, 0>, <0, 2, 0>, 3, 5 jitter"), std::string::npos) << pov;
}

TEST(PovWriterTest, MeshesBecomeMesh2WithTheirFaces) {
  const std::string pov =
      Pov(R"({"type": "polygon_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [1, 1, 0]],
    "faces": [[0, 1, 2], [1, 3, 2]]})");
  EXPECT_NE(pov.find("vertex_vectors { 4, <0, 0, 0>, <1, 0, 0>, <0, 1, 0>, <1, 1, 0> }"), std::string::npos)
      << pov;
  EXPECT_NE(pov.find("face_indices { 2, <0, 1, 2>, <1, 3, 2> }"), std::string::npos) << pov;
}

// The writer says what it leaves out: these object kinds get a comment, not a shape.
TEST(PovWriterTest, ObjectKindsWithoutAPovShapeBecomeComments) {
  Scene scene;
  const std::pair<uint32_t, const char*> unwritten[] = {{abi::kTypeSweep, "sweep"},
                                                        {abi::kTypeLathe, "lathe"},
                                                        {abi::kTypeExtrusion, "extrusion"},
                                                        {abi::kTypeSplineMesh, "spline mesh"},
                                                        {abi::kTypeHeightField, "height field"},
                                                        {abi::kTypeClone, "clone"},
                                                        {abi::kTypeBlob, "blob"},
                                                        {abi::kTypeSuperquadric, "superquadric"},
                                                        {abi::kTypeText, "text"},
                                                        {abi::kTypePluginObject, "plug-in object"}};
  for (const auto& [type, name] : unwritten) scene.Add(type, 0).name = name;
  std::ostringstream out;
  WritePovScene(scene, out);
  for (const auto& [type, name] : unwritten) {
    EXPECT_NE(out.str().find("// \"" + std::string(name) + "\": the " + name + " object is not written"),
              std::string::npos)
        << out.str();
    EXPECT_FALSE(PovWritesObjectType(type)) << name;
  }
}

TEST(PovWriterTest, PatternPigmentsCarryTheirColourMapAndNoise) {
  const std::string pov = Pov(R"({"type": "sphere", "texture": "M"})",
                              R"(, "materials": [{"kind": "material", "name": "M", "children": [
    {"kind": "texture", "children": [{"kind": "pigment", "children": [{"kind": "pattern_pigment",
      "pattern": "marble", "color_map": [[0, 1, 1, 1], [1, 0, 0, 0.5, 0, 0.25]],
      "children": [{"kind": "noise_modifiers", "turbulence": 0.5, "wave": "triangle"}]}]},
      {"kind": "normal"}]}, {"kind": "interior", "ior": 1.5}]}])");
  EXPECT_NE(pov.find("pigment { marble color_map { [0 rgb <1, 1, 1>] [1 rgbft <0, 0, 0.5, 0, 0.25>] } "
                     "turbulence <0.5, 0.5, 0.5> octaves 6 omega 0.5 lambda 2 triangle_wave }"),
            std::string::npos)
      << pov;
  EXPECT_NE(pov.find("texture node kind 18 is not written"), std::string::npos) << pov;
  EXPECT_NE(pov.find("interior { ior 1.5 }"), std::string::npos) << pov;
  EXPECT_NE(pov.find("interior { Lumetra_Interior_0 }"), std::string::npos) << pov;
}

}  // namespace
}  // namespace lumetra::host
