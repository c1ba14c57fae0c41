#include "host/pov_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "abi/object_params.h"
#include "abi/scene_record.h"
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
    {"type": "area_light", "samples": [3, 5, 2], "jitter": true})");
  EXPECT_NE(pov.find("rgb <1, 0.5, 0> spotlight point_at <0, 0, -2> radius 20 falloff 30 tightness 5 "
                     "fade_distance 4 fade_power 2 shadowless"),
            std::string::npos)
      << pov;
  EXPECT_NE(pov.find("area_light <2, 0, 0>, <0, 2, 0>, 3, 5 adaptive 2 jitter"), std::string::npos) << pov;
}

TEST(PovWriterTest, MeshesBecomeMesh2WithTheirFaces) {
  const std::string pov =
      Pov(R"({"type": "polygon_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [1, 1, 0]],
    "faces": [[0, 1, 2], [1, 3, 2]]})");
  EXPECT_NE(pov.find("vertex_vectors { 4, <0, 0, 0>, <1, 0, 0>, <0, 1, 0>, <1, 1, 0> }"), std::string::npos)
      << pov;
  EXPECT_NE(pov.find("face_indices { 2, <0, 1, 2>, <1, 3, 2> }"), std::string::npos) << pov;
}

// The shape line an object got: from its opening keyword to the end of the line.
std::string ShapeLine(const std::string& pov, const std::string& keyword) {
  const size_t at = pov.find(keyword);
  return at == std::string::npos ? std::string() : pov.substr(at, pov.find('\n', at) - at);
}

TEST(PovWriterTest, LatheRaisesEveryPieceToACubicOfTheSameCurve) {
  // Linear: three points (the host's repeat of the first is dropped), two straight pieces.
  const std::string linear = ShapeLine(Pov(R"({"type": "lathe", "spline": "linear",
    "points": [[0, 0, 0], [3, 0, 0], [3, 3, 0]]})"),
                                       "lathe {");
  EXPECT_NE(linear.find("bezier_spline 8, <0, 0>, <1, 0>, <2, 0>, <3, 0>, <3, 0>, <3, 1>, <3, 2>, <3, 3>"),
            std::string::npos)
      << linear;
  // Quadratic: the middle point steers; the open outline ends on its first and last points.
  const std::string quadratic = ShapeLine(Pov(R"({"type": "lathe", "spline": "quadratic",
    "points": [[0, 0, 0], [3, 3, 0], [6, 0, 0]]})"),
                                          "lathe {");
  EXPECT_NE(quadratic.find("bezier_spline 4, <0, 0>, <2, 2>, <4, 2>, <6, 0>"), std::string::npos)
      << quadratic;
  // Two controls in a row imply an outline point half way between them.
  const std::string implied = ShapeLine(Pov(R"({"type": "lathe", "spline": "quadratic",
    "points": [[0, 0, 0], [0, 3, 0], [6, 3, 0], [6, 0, 0]]})"),
                                        "lathe {");
  EXPECT_NE(implied.find("bezier_spline 8, <0, 0>, <0, 2>, <1, 3>, <3, 3>, <3, 3>, <5, 3>, <6, 2>, <6, 0>"),
            std::string::npos)
      << implied;
}

TEST(PovWriterTest, SweepIsAClosedPrismAlongZAndExtrusionAConeToTheOrigin) {
  const std::string sweep = ShapeLine(Pov(R"({"type": "sweep", "spline": "linear", "extrusion": [-1, 2],
    "points": [[0, 0, 0], [3, 0, 0], [0, 3, 0]]})"),
                                      "prism {");
  // Three sides, the last back to the first point; POV-Ray's y and z swap.
  EXPECT_NE(sweep.find(
                "linear_sweep bezier_spline -1, 2, 12, <0, 0>, <1, 0>, <2, 0>, <3, 0>, <3, 0>, <2, 1>, "
                "<1, 2>, <0, 3>, <0, 3>, <0, 2>, <0, 1>, <0, 0> matrix <1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0>"),
            std::string::npos)
      << sweep;
  // An empty extent is the ray tracer's 0..1; the cone's outline is full size at its end.
  const std::string empty = ShapeLine(Pov(R"({"type": "extrusion", "spline": "linear", "extrusion": [1, 1],
    "points": [[0, 0, 0], [3, 0, 0], [0, 3, 0]]})"),
                                      "prism {");
  EXPECT_NE(empty.find("conic_sweep linear_spline 0, 1, 4, <0, 0>, <3, 0>, <0, 3>, <0, 0> scale <1, 1, 1>"),
            std::string::npos)
      << empty;
  const std::string cone = ShapeLine(Pov(R"({"type": "extrusion", "spline": "quadratic", "extrusion": [1, 4],
    "points": [[0, 0, 0], [3, 0, 0], [0, 3, 0]]})"),
                                     "prism {");
  // Controls only: the outline begins half way between two; each curve becomes 16 lines.
  EXPECT_NE(cone.find("conic_sweep linear_spline 0.25, 1, 49, <1.5, 0>,"), std::string::npos) << cone;
  EXPECT_NE(cone.find(", <1.5, 0> scale <1, 4, 1> matrix"), std::string::npos) << cone;
}

TEST(PovWriterTest, BlobSuperquadricAndPatchesKeepTheirNumbersAndOrder) {
  const std::string pov = Pov(R"({"type": "blob", "threshold": 0.4, "solver": 1, "components": [
      {"kind": "sphere", "centre": [1, 2, 3], "radius": 1.5, "strength": 2},
      {"kind": "cylinder", "from": [0, 0, 0], "to": [0, 2, 0], "radius": 0.5, "strength": -1}]},
    {"type": "superquadric", "e": 0.25, "r": 3},
    {"type": "spline_mesh", "subdivision_u": 8, "subdivision_v": 2,
     "points": [[0,0,0],[1,0,0],[2,0,0],[3,0,0],[0,1,0],[1,1,1],[2,1,1],[3,1,0],
                [0,2,0],[1,2,1],[2,2,1],[3,2,0],[0,3,0],[1,3,0],[2,3,0],[3,3,9]],
     "patches": [[15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0]]})");
  const size_t blob = pov.find("blob { threshold 0.4");
  ASSERT_NE(blob, std::string::npos) << pov;
  const size_t sphere = pov.find("sphere { <1, 2, 3>, 1.5, strength 2 }", blob);
  const size_t cylinder = pov.find("cylinder { <0, 0, 0>, <0, 2, 0>, 0.5, strength -1 }", blob);
  EXPECT_LT(sphere, cylinder);
  EXPECT_LT(cylinder, pov.find("sturm", blob));
  // The ray tracer's east-west power is the host's r.
  EXPECT_NE(pov.find("superellipsoid { <3, 0.25>"), std::string::npos) << pov;
  // The patch's points in its own order; eight grid points a patch are 2^3 steps.
  EXPECT_NE(pov.find("bicubic_patch { type 1 flatness 0 u_steps 3 v_steps 1\n    <3, 3, 9> <2, 3, 0>"),
            std::string::npos)
      << pov;
}

TEST(PovWriterTest, CloneWritesItsSourceAgainUnderItsOwnTransformAndTexture) {
  const std::string pov = Pov(R"({"type": "box", "name": "Src", "transform": {"translate": [1, 0, 0]}},
    {"type": "clone", "name": "Copy", "source": "Src", "texture": "Red", "transform": {"translate": [0, 5, 0]}})",
                              kRed);
  const size_t clone = pov.find("object {  // clone \"Copy\"");
  ASSERT_NE(clone, std::string::npos) << pov;
  const size_t copy = pov.find("box {", clone);
  const size_t texture = pov.find("texture { Lumetra_Material_0 }", copy);
  const size_t own = pov.find("translate <1, 0, 0> }", copy);
  const size_t placed = pov.find("translate <0, 5, 0> }", copy);
  EXPECT_LT(copy, texture);
  EXPECT_LT(texture, own);
  EXPECT_LT(own, placed);
  // The source itself stays where it is, without the clone's texture.
  EXPECT_EQ(pov.find("texture { Lumetra_Material_0"), texture) << pov;
}

// A scene file cannot hold such a ring, but the plug-in may link clones through the host.
TEST(PovWriterTest, ClonesOfClonesInARingEndInAComment) {
  Scene scene =
      ParseScene(R"({"format": "lumetra-scene", "version": 1, "objects": [{"type": "box", "name": "Src"},
    {"type": "clone", "name": "A", "source": "Src"}, {"type": "clone", "name": "B", "source": "Src"}]})",
                 "/tmp/pov-writer-test.json");
  SceneObject* a = nullptr;
  SceneObject* b = nullptr;
  for (const uint32_t id : scene.List(abi::kObjectList)) {
    SceneObject* object = scene.Find(id);
    if (object->name == "A") a = object;
    if (object->name == "B") b = object;
  }
  ASSERT_TRUE(a && b);
  a->linkA = b->id;
  b->linkA = a->id;
  std::ostringstream out;
  WritePovScene(scene, out);
  EXPECT_NE(out.str().find("clones of clones go round in a ring"), std::string::npos);
}

TEST(PovWriterTest, TextGlyphsStandWhereTheRayTracerLaysThemOut) {
  const std::string pov = Pov(R"({"type": "text", "text": "A B", "font": "DejaVuSans.ttf", "size": 2,
    "depth": 0.25, "spacing": 0.5})");
  const size_t first = pov.find("text { ttf \"");
  ASSERT_NE(first, std::string::npos) << pov;
  // POV-Ray starts a text at its glyph's left edge, as the ray tracer starts its first glyph.
  EXPECT_NE(pov.find("DejaVuSans.ttf\" \"A\" 0.25, 0 }"), std::string::npos) << pov;
  // The space takes no room but its spacing; "B" stands beyond "A" and the two spacings.
  const size_t second = pov.find("\"B\" 0.25, 0 translate <", first);
  ASSERT_NE(second, std::string::npos) << pov;
  const double bx = std::stod(pov.substr(pov.find('<', second) + 1));
  EXPECT_GT(bx, 1.0);
  EXPECT_LT(bx, 2.0);
  EXPECT_NE(pov.find("scale <2, 2, 1>"), std::string::npos) << pov;
}

TEST(PovWriterTest, FilesAreNamedByTheOptionsHookAndQuoted) {
  const Scene scene = ParseScene(
      R"({"format": "lumetra-scene", "version": 1, "objects": [{"type": "height_field", "image": "terrain.png"}]})",
      std::string(LUMETRA_SOURCE_DIR) + "/examples/showcase/showcase.json");
  std::ostringstream absolute, renamed;
  WritePovScene(scene, absolute);
  EXPECT_NE(absolute.str().find(
                "height_field { png \"" + std::string(LUMETRA_SOURCE_DIR) +
                "/examples/showcase/terrain.png\" scale <2, 2, -2> translate <-1, -1, 1> rotate x*90"),
            std::string::npos)
      << absolute.str();
  std::string seen;
  WritePovScene(scene, renamed, {[&](const std::string& found) {
                  seen = found;
                  return "my \"terrain\".png";
                }});
  EXPECT_EQ(seen, std::string(LUMETRA_SOURCE_DIR) + "/examples/showcase/terrain.png");
  EXPECT_NE(renamed.str().find("png \"my \\\"terrain\\\".png\""), std::string::npos) << renamed.str();
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
  // The empty normal perturbs nothing in the ray tracer either.
  EXPECT_EQ(pov.find("normal {"), std::string::npos) << pov;
  EXPECT_NE(pov.find("interior { ior 1.5 }"), std::string::npos) << pov;
  EXPECT_NE(pov.find("interior { Lumetra_Interior_0 }"), std::string::npos) << pov;
}

}  // namespace
}  // namespace lumetra::host
