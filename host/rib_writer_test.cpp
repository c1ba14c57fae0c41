#include "host/rib_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "host/scene_file.h"
#include "math/transform.h"

namespace lumetra::host {
namespace {

Scene SceneOf(const std::string& objects, const std::string& extra = "") {
  return ParseScene(R"({"format": "lumetra-scene", "version": 1, "render": {"width": 320, "height": 200},
    "objects": [)" + objects +
                        "]" + extra + "}",
                    "/tmp/rib-writer-test.json");
}

std::string Rib(const std::string& objects, const std::string& extra = "", const RibOptions& options = {}) {
  std::ostringstream out;
  WriteRibScene(SceneOf(objects, extra), out, options);
  return out.str();
}

// The numbers of the bracketed list that follows `request` at or after `from`.
std::vector<double> NumbersAfter(const std::string& rib, const std::string& request, size_t from = 0) {
  const size_t at = rib.find(request, from);
  EXPECT_NE(at, std::string::npos) << request << " missing in\n" << rib;
  if (at == std::string::npos) return {};
  const size_t open = rib.find('[', at), close = rib.find(']', open);
  std::istringstream list(rib.substr(open + 1, close - open - 1));
  std::vector<double> values;
  for (double v; list >> v;) values.push_back(v);
  return values;
}

math::Vector3 Map(const std::vector<double>& matrix, const math::Vector3& p) {
  EXPECT_EQ(matrix.size(), 16u);
  if (matrix.size() != 16) return {};
  std::array<double, 16> elements{};
  std::copy(matrix.begin(), matrix.end(), elements.begin());
  return math::MapPoint(p, math::Matrix4(elements));
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Where a scene point lands on RenderMan's screen: x right, y up, both -1..1 across the
// screen window; z is the depth (positive in front of the eye).
struct ScreenPoint {
  double x, y, z;
};
ScreenPoint Project(const std::string& rib, const math::Vector3& p) {
  const math::Vector3 c = Map(NumbersAfter(rib, "Transform "), p);
  const double fov = NumbersAfter(rib, "\"fov\"").at(0);
  std::istringstream window(rib.substr(rib.find("ScreenWindow ") + 13));
  double left = 0, right = 0;
  window >> left >> right;
  const double t = std::tan(fov / 2 * std::numbers::pi / 180);
  return {c.x / (c.z * t) / right, c.y / (c.z * t), c.z};
}

constexpr const char* kCamera = R"(, "cameras": [{"type": "camera", "active": true, "fov": 60, "aspect": 2,
    "location": [0, 0, -10], "look_at": [0, 0, 0], "up": [0, 1, 0]}])";

TEST(RibWriterTest, CameraSeesWhatTheRayTracerSeesOnTheSameSide) {
  const std::string rib = Rib("", kCamera);
  // The ray tracer's cameras are right-handed: looking down +z with y up, right is -x.
  const ScreenPoint right = Project(rib, {-3, 0, 0}), left = Project(rib, {3, 0, 0});
  EXPECT_GT(right.x, 0.1);
  EXPECT_LT(left.x, -0.1);
  EXPECT_GT(Project(rib, {0, 3, 0}).y, 0.1);
  EXPECT_GT(right.z, 0);
  // Half the 60-degree width sits at the edge of the screen.
  const double edge = 10 * std::tan(30 * std::numbers::pi / 180);
  EXPECT_NEAR(Project(rib, {-edge, 0, 0}).x, 1, 1e-6);
  EXPECT_NE(rib.find("ScreenWindow -2 2 -1 1"), std::string::npos) << rib;
}

TEST(RibWriterTest, WithoutACameraTheDefaultViewIsMirroredLikeTheRayTracers) {
  const std::string rib = Rib("", R"(, "cameras": [{"type": "camera", "active": false}])");
  EXPECT_GT(Project(rib, {3, 0, 0}).x, 0.1);
  EXPECT_GT(Project(rib, {0, 3, 0}).y, 0.1);
  EXPECT_NEAR(NumbersAfter(rib, "\"fov\"").at(0), 45, 1e-6);
  EXPECT_NE(rib.find("# no active camera"), std::string::npos);
}

TEST(RibWriterTest, CameraLookingSidewaysAndFromAboveKeepsItsUpAndRight) {
  const std::string rib = Rib("", R"(, "cameras": [{"type": "camera", "active": true, "fov": 60, "aspect": 1,
    "location": [10, 5, 0], "look_at": [0, 5, 0], "up": [0, 1, 0]}])");
  // Looking down -x: right-handed, right is -z.
  EXPECT_GT(Project(rib, {0, 5, -3}).x, 0.1);
  EXPECT_GT(Project(rib, {0, 8, 0}).y, 0.1);
  EXPECT_NEAR(Project(rib, {0, 5, 0}).z, 10, 1e-9);
}

TEST(RibWriterTest, PictureAndDisplayComeFromTheOptionsOrTheScene) {
  const std::string own = Rib("", "", RibOptions{"out \"x\".png", 64, 48});
  EXPECT_NE(own.find("Display \"out \\\"x\\\".png\" \"file\" \"rgb\"\nFormat 64 48 1\n"), std::string::npos)
      << own;
  const std::string scene = Rib("");
  EXPECT_NE(scene.find("Format 320 200 1"), std::string::npos) << scene;
  EXPECT_EQ(scene.find("##RenderMan RIB"), 0u);
  EXPECT_LT(scene.find("Transform "), scene.find("WorldBegin"));
  EXPECT_LT(scene.find("WorldBegin"), scene.find("WorldEnd"));
}

TEST(RibWriterTest, ObjectTransformsScaleRotateTheRayTracersWayThenMove) {
  const std::string rib = Rib(R"({"type": "sphere", "transform": {"scale": [2, 2, 2], "rotate": [0, 0, 90],
    "translate": [1, 2, 3]}})");
  // The host's 90 degrees about z turn +x to -y.
  const math::Vector3 p = Map(NumbersAfter(rib, "ConcatTransform "), {1, 0, 0});
  EXPECT_NEAR(p.x, 1, 1e-9);
  EXPECT_NEAR(p.y, 0, 1e-9);
  EXPECT_NEAR(p.z, 3, 1e-9);
  EXPECT_NE(rib.find("Sphere 1 -1 1 360"), std::string::npos) << rib;
}

TEST(RibWriterTest, LocalTransformComesBeforeTheObjectsAndChildrenNestInTheirParent) {
  const std::string rib = Rib(R"({"type": "group", "name": "G", "transform": {"translate": [10, 0, 0]},
    "children": [{"type": "box", "name": "B", "local_transform": {"scale": [1, 1, 1], "rotate": [0, 0, 0],
      "translate": [0, 5, 0]}, "transform": {"scale": [2, 2, 2]}}]})");
  const size_t group = rib.find("AttributeBegin  # \"G\""), box = rib.find("AttributeBegin  # \"B\"");
  ASSERT_NE(box, std::string::npos) << rib;
  EXPECT_LT(group, box);
  EXPECT_GT(rib.find("AttributeEnd", box), box);
  // Local first: (0,0,0) moves up 5, then doubles.
  const math::Vector3 p = Map(NumbersAfter(rib, "ConcatTransform ", box), {0, 0, 0});
  EXPECT_NEAR(p.y, 10, 1e-9);
  EXPECT_EQ(Count(rib, "AttributeBegin"), Count(rib, "AttributeEnd"));
}

TEST(RibWriterTest, CsgBecomesNestedSolidsWithPrimitiveLeaves) {
  const std::string rib = Rib(R"({"type": "csg", "name": "C", "operation": "difference", "children": [
    {"type": "sphere", "name": "S"},
    {"type": "group", "name": "G", "children": [{"type": "box", "name": "B"}, {"type": "cylinder", "name": "Y"}]}]})");
  const size_t difference = rib.find("SolidBegin \"difference\"");
  const size_t sphere = rib.find("Sphere ");
  const size_t group = rib.find("SolidBegin \"union\"");
  const size_t box = rib.find("PointsPolygons");
  ASSERT_NE(difference, std::string::npos) << rib;
  EXPECT_LT(difference, sphere);
  EXPECT_LT(sphere, group);
  EXPECT_LT(group, box);
  // Every shape inside is a primitive solid; every block closes.
  EXPECT_EQ(Count(rib, "SolidBegin \"primitive\""), 3u) << rib;
  EXPECT_EQ(Count(rib, "SolidBegin"), Count(rib, "SolidEnd"));
  EXPECT_EQ(Count(rib, "AttributeBegin"), Count(rib, "AttributeEnd"));
  // The union's members close before the difference does.
  const size_t last = rib.rfind("SolidEnd");
  EXPECT_LT(rib.rfind("SolidEnd", last - 1), last);
  // A group outside any CSG stays a plain attribute block.
  EXPECT_EQ(Rib(R"({"type": "group", "children": [{"type": "sphere"}]})").find("Solid"), std::string::npos);
}

TEST(RibWriterTest, QuadricsKeepTheRayTracersUnitShapes) {
  const std::string rib = Rib(R"({"type": "cylinder"}, {"type": "cylinder", "open": true},
    {"type": "cone", "lower_radius": 1, "upper_radius": 0.5}, {"type": "cone", "lower_radius": 2, "upper_radius": 0, "open": true},
    {"type": "torus", "major_radius": 3, "minor_radius": 0.5}, {"type": "disc", "inner_radius": 0.25}, {"type": "plane"})");
  EXPECT_EQ(Count(rib, "Cylinder 1 0 1 360"), 2u);
  EXPECT_EQ(Count(rib, "Disk 0 1 360\n"), 2u) << rib;  // the closed cylinder's base and the cone's
  EXPECT_NE(rib.find("Hyperboloid [1 0 0] [0.5 0 1] 360"), std::string::npos) << rib;
  EXPECT_NE(rib.find("Disk 1 0.5 360"), std::string::npos);
  EXPECT_NE(rib.find("Cone 1 2 360"), std::string::npos);
  EXPECT_EQ(rib.find("Disk 0 2 360"), std::string::npos);  // the open cone has no base
  EXPECT_NE(rib.find("Torus 3 0.5 0 360 360"), std::string::npos);
  EXPECT_NE(rib.find("Hyperboloid [0.25 0 0] [1 0 0] 360"), std::string::npos);
  EXPECT_NE(rib.find("Disk 0 10000 360"), std::string::npos);
}

TEST(RibWriterTest, MeshesBecomePointsPolygonsWithTheirNormals) {
  const std::string rib =
      Rib(R"({"type": "polygon_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [1, 1, 0]],
    "normals": [[0, 0, 1], [0, 0, 1], [0, 0, 1], [0, 0, 1]], "faces": [[0, 1, 2], [1, 3, 2]]})");
  EXPECT_NE(rib.find("PointsPolygons [3 3] [0 1 2 1 3 2] \"P\" [0 0 0 1 0 0 0 1 0 1 1 0] \"N\" [0 0 1"),
            std::string::npos)
      << rib;
}

TEST(RibWriterTest, LightsAreWrittenFirstInWorldCoordinates) {
  const std::string rib = Rib(R"({"type": "sphere"}, {"type": "group", "transform": {"translate": [0, 10, 0]},
    "children": [{"type": "point_light", "name": "P", "color": [1, 0.5, 0.25], "transform": {"translate": [1, 2, 3]}},
      {"type": "spot_light", "radius": 10, "falloff": 30}]})",
                              R"(, "environment": {"ambient": [0.2, 0.3, 0.4]})");
  EXPECT_NE(rib.find("LightSource \"ambientlight\" 1 \"lightcolor\" [0.2 0.3 0.4]"), std::string::npos)
      << rib;
  EXPECT_NE(rib.find("LightSource \"pointlight\" 2 \"from\" [1 12 3] \"lightcolor\" [1 0.5 0.25]"),
            std::string::npos)
      << rib;
  const std::vector<double> to = NumbersAfter(rib, "\"to\"");
  ASSERT_EQ(to.size(), 3u);
  EXPECT_NEAR(to[2], -2, 1e-9);  // the spot shines down its -z
  EXPECT_NEAR(NumbersAfter(rib, "\"coneangle\"").at(0), std::numbers::pi / 6, 1e-9);
  EXPECT_NEAR(NumbersAfter(rib, "\"conedeltaangle\"").at(0), std::numbers::pi / 9, 1e-9);
  // The ray tracer's lights keep their strength at any distance unless they fade, and cast
  // shadows unless told not to.
  EXPECT_NE(rib.find("\"intensity\" [1] \"falloff\" [0] \"shadows\" [\"on\"]"), std::string::npos) << rib;
  const std::string faded = Rib(R"({"type": "point_light", "fade_distance": 4, "fade_power": 1,
    "no_shadows": true})");
  EXPECT_NE(faded.find("\"falloff\" [1] \"falloffdistance\" [4] \"shadows\" [\"off\"]"), std::string::npos)
      << faded;
  EXPECT_NE(rib.find("Imager \"background\" \"bgcolor\" "), std::string::npos);
  // Lights inside an attribute block would go out at its end.
  EXPECT_LT(rib.find("LightSource \"spotlight\""), rib.find("AttributeBegin"));
}

TEST(RibWriterTest, MaterialsGiveColourOpacityAndAStandardSurface) {
  const std::string materials = R"(, "materials": [
    {"kind": "material", "name": "Shiny", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [1, 0, 0, 0, 0.25]}]},
      {"kind": "finish", "ambient": 0.2, "diffuse": 0.7, "phong": 0.5, "phong_size": 20}]}]},
    {"kind": "material", "name": "Dull", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0, 1, 0]}]}]}]},
    {"kind": "material", "name": "Gold", "children": [{"kind": "texture", "children": [
      {"kind": "finish", "ambient": 0.1, "specular": 0.8, "roughness": 0.02, "metallic_on": true, "metallic": 1}]}]}])";
  const std::string rib = Rib(
      R"({"type": "sphere", "name": "A", "texture": "Shiny"}, {"type": "box", "name": "B", "texture": "Dull"},
    {"type": "torus", "name": "C", "texture": "Gold"}, {"type": "disc", "name": "D"})",
      materials);
  const size_t a = rib.find("# \"A\""), b = rib.find("# \"B\""), c = rib.find("# \"C\""),
               d = rib.find("# \"D\"");
  ASSERT_TRUE(a < b && b < c && c < d) << rib;
  const std::string shiny = rib.substr(a, b - a), dull = rib.substr(b, c - b), gold = rib.substr(c, d - c);
  EXPECT_NE(shiny.find("Color [1 0 0]"), std::string::npos) << shiny;
  EXPECT_NE(shiny.find("Opacity [0.75 0.75 0.75]"), std::string::npos) << shiny;
  EXPECT_NE(shiny.find("Surface \"plastic\" \"Ka\" 0.2 \"Kd\" 0.7 \"Ks\" 0.5 \"roughness\" 0.05"),
            std::string::npos)
      << shiny;
  EXPECT_NE(dull.find("Surface \"matte\" \"Ka\" 0.1 \"Kd\" 0.6"), std::string::npos) << dull;
  EXPECT_EQ(dull.find("Opacity"), std::string::npos);
  EXPECT_NE(gold.find("Surface \"metal\" \"Ka\" 0.1 \"Ks\" 0.8 \"roughness\" 0.02"), std::string::npos)
      << gold;
  // An object without a material keeps the world's white matte.
  EXPECT_EQ(rib.substr(d).find("Surface"), std::string::npos);
  EXPECT_LT(rib.find("Surface \"matte\"\n"), a);
}

// The writer says what it leaves out: a shape it cannot make gets a comment naming why.
TEST(RibWriterTest, ShapesThatCannotBeMadeBecomeComments) {
  Scene scene;
  scene.Add(abi::kTypePluginObject, 0).name = "other plug-in kind";
  scene.Add(abi::kTypeLathe, 0).name = "no points";
  scene.Add(abi::kTypeText, 0).name = "sizeless";
  scene.Add(abi::kTypeClone, 0).name = "sourceless";
  SceneObject& blob = scene.Add(abi::kTypeBlob, 0);
  blob.name = "weak";
  blob.data.shape.blob.threshold = 5;
  blob.blob.push_back({1, 0, {0, 0, 0}, {0, 0, 0}, 1, 1});
  scene.Add(abi::kTypeSphere, 0).flags = 0;
  std::ostringstream out;
  WriteRibScene(scene, out, {});
  for (const char* expected : {"# \"other plug-in kind\": the plugin_object object is not written",
                               "# \"no points\": its points form no outline",
                               "# \"sizeless\": a text of size 0.000000 draws nothing",
                               "# \"sourceless\": the clone's source is missing",
                               "# \"weak\": the blob's fields never reach its threshold", "not rendered"}) {
    EXPECT_NE(out.str().find(expected), std::string::npos) << expected << " missing in\n" << out.str();
  }
  EXPECT_EQ(out.str().find("AttributeBegin"), std::string::npos);
}

TEST(RibWriterTest, ACloneIsItsSourcePlacedAgainWearingItsOwnMaterial) {
  const std::string materials = R"(, "materials": [
    {"kind": "material", "name": "Green", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0, 1, 0]}]}]}]},
    {"kind": "material", "name": "Blue", "children": [{"kind": "texture", "children": [
      {"kind": "pigment", "children": [{"kind": "solid_color", "color": [0, 0, 1]}]}]}]}])";
  const std::string rib = Rib(R"({"type": "sphere", "name": "Ball", "texture": "Green",
    "transform": {"translate": [0, 3, 0]}}, {"type": "clone", "name": "Copy", "source": "Ball", "texture": "Blue",
    "transform": {"translate": [10, 0, 0]}}, {"type": "clone", "name": "Plain", "source": "Ball"})",
                              materials);
  const size_t copy = rib.find("AttributeBegin  # \"Copy\""), plain = rib.find("AttributeBegin  # \"Plain\"");
  ASSERT_NE(copy, std::string::npos) << rib;
  ASSERT_NE(plain, std::string::npos) << rib;
  EXPECT_EQ(Count(rib, "Sphere 1 -1 1 360"), 3u);
  // The clone's transform outside, the source's inside: the ball lands at (10, 3, 0).
  const math::Vector3 outer = Map(NumbersAfter(rib, "ConcatTransform ", copy), {0, 0, 0});
  const size_t inner = rib.find("AttributeBegin  # \"Ball\"", copy);
  ASSERT_LT(inner, plain);
  const math::Vector3 centre = Map(NumbersAfter(rib, "ConcatTransform ", inner), {0, 0, 0});
  EXPECT_NEAR(outer.x + centre.x, 10, 1e-9);
  EXPECT_NEAR(centre.y, 3, 1e-9);
  // Its own material replaces the source's; without one it wears the source's.
  const std::string copied = rib.substr(inner, plain - inner), bare = rib.substr(plain);
  EXPECT_NE(copied.find("Color [0 0 1]"), std::string::npos) << copied;
  EXPECT_EQ(copied.find("Color [0 1 0]"), std::string::npos) << copied;
  EXPECT_NE(bare.find("Color [0 1 0]"), std::string::npos) << bare;
  EXPECT_EQ(Count(rib, "AttributeBegin"), Count(rib, "AttributeEnd"));
  // Two clones of each other end in a comment, not without end.
  Scene ring;
  SceneObject& first = ring.Add(abi::kTypeClone, 0);
  SceneObject& second = ring.Add(abi::kTypeClone, 0);
  first.linkA = second.id;
  second.linkA = first.id;
  std::ostringstream out;
  WriteRibScene(ring, out, {});
  EXPECT_NE(out.str().find("go round in a ring"), std::string::npos);
  EXPECT_EQ(Count(out.str(), "AttributeBegin"), Count(out.str(), "AttributeEnd"));
}

TEST(RibWriterTest, NewKindsAreMeshesThatStaySolidsInCsg) {
  const std::string rib = Rib(R"({"type": "csg", "operation": "intersection", "children": [
    {"type": "superquadric", "e": 0.5, "r": 0.5},
    {"type": "sweep", "spline": "linear", "extrusion": [-1, 1], "points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]]},
    {"type": "blob", "threshold": 0.5, "components": [{"kind": "sphere", "centre": [0, 0, 0], "radius": 1, "strength": 1}]},
    {"type": "lathe", "spline": "linear", "points": [[0, -1, 0], [1, 0, 0], [0, 1, 0], [0, 0, 0]]}]},
    {"type": "plugin_object", "kind": "triangle_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2]]})");
  EXPECT_EQ(Count(rib, "PointsGeneralPolygons"), 4u) << rib;
  EXPECT_EQ(Count(rib, "SolidBegin \"primitive\""), 4u);
  EXPECT_NE(rib.find("PointsPolygons [3] [0 1 2]"), std::string::npos) << rib;
  // The sweep's triangle: three sides, two caps, six points.
  const size_t sweep = rib.find("PointsGeneralPolygons", rib.find("PointsGeneralPolygons") + 1);
  EXPECT_EQ(NumbersAfter(rib, "PointsGeneralPolygons", sweep), std::vector<double>(5, 1));
  EXPECT_EQ(NumbersAfter(rib, "\"P\"", sweep).size(), 18u);
}

TEST(RibWriterTest, TextIsItsGlyphOutlinesWithTheirHoles) {
  const std::string rib =
      Rib(R"({"type": "text", "text": "o", "font": "DejaVuSans.ttf", "size": 2, "depth": 0.5})");
  if (rib.find("not found") != std::string::npos) GTEST_SKIP() << "DejaVuSans.ttf is not installed";
  // An "o" is a ring: its caps are an outline with a hole.
  const std::vector<double> loops = NumbersAfter(rib, "PointsGeneralPolygons");
  EXPECT_EQ(std::count(loops.begin(), loops.end(), 2), 2) << rib.substr(0, 2000);
  const std::vector<double> p = NumbersAfter(rib, "\"P\"");
  ASSERT_FALSE(p.empty());
  double highest = 0, deepest = 0;
  for (size_t i = 0; i + 2 < p.size(); i += 3)
    highest = std::max(highest, p[i + 1]), deepest = std::max(deepest, p[i + 2]);
  EXPECT_NEAR(deepest, 0.5, 1e-9);
  EXPECT_GT(highest, 0.9);  // an x-height over half an em, scaled by 2
  EXPECT_LT(highest, 1.5);
}

TEST(RibWriterTest, SplinePatchesAreBicubicAndBadIndicesAreNamed) {
  Scene scene;
  SceneObject& mesh = scene.Add(abi::kTypeSplineMesh, 0);
  mesh.name = "M";
  for (int i = 0; i < 16; ++i) {
    mesh.splinePoints.insert(mesh.splinePoints.end(), {double(i % 4), double(i / 4), 0});
    mesh.splinePatches.push_back(static_cast<uint32_t>(15 - i));
  }
  mesh.splinePatches.insert(mesh.splinePatches.end(), 16, 99);
  std::ostringstream out;
  WriteRibScene(scene, out, {});
  const std::vector<double> p = NumbersAfter(out.str(), "Patch \"bicubic\" \"P\"");
  ASSERT_EQ(p.size(), 48u);
  EXPECT_EQ(p[0], 3);  // point 15 first
  EXPECT_EQ(p[1], 3);
  EXPECT_EQ(Count(out.str(), "Patch "), 1u);
  EXPECT_NE(out.str().find("names control point 99"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace lumetra::host
