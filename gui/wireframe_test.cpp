#include "gui/wireframe.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "abi/scene_record.h"

namespace lumetra::gui {
namespace {

using math::Vector3;

struct Extent {
  Vector3 low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9};
  size_t lines = 0;
  Vector3 Middle() const { return (low + high) * 0.5; }
};

// Where the lines of one object lie.
Extent ExtentOf(const std::vector<Segment>& drawing, uint32_t object) {
  Extent extent;
  for (const Segment& segment : drawing) {
    if (segment.object != object) continue;
    ++extent.lines;
    for (const Vector3& p : {segment.a, segment.b}) {
      extent.low = {std::min(extent.low.x, p.x), std::min(extent.low.y, p.y), std::min(extent.low.z, p.z)};
      extent.high = {std::max(extent.high.x, p.x), std::max(extent.high.y, p.y),
                     std::max(extent.high.z, p.z)};
    }
  }
  return extent;
}

void ExpectNear(const Vector3& actual, const Vector3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9);
  EXPECT_NEAR(actual.y, expected.y, 1e-9);
  EXPECT_NEAR(actual.z, expected.z, 1e-9);
}

void Set(double (&field)[3], double x, double y, double z) {
  field[0] = x;
  field[1] = y;
  field[2] = z;
}

TEST(Wireframe, ObjectsStandWhereTheirTransformsAndTheirParentsPutThem) {
  host::Scene scene;
  host::SceneObject& box = scene.Add(abi::kTypeBox, abi::kObjectList);
  Set(box.params.scale, 2, 1, 1);
  Set(box.params.translate, 5, 0, 0);
  host::SceneObject& group = scene.Add(abi::kTypeGroup, abi::kObjectList);
  Set(group.params.translate, 0, 10, 0);
  const uint32_t groupId = group.id;
  host::SceneObject& sphere = scene.Add(abi::kTypeSphere, abi::kObjectList, groupId);
  Set(sphere.params.translate, 1, 0, 0);
  // A cylinder runs along z; turned 90 degrees about x it stands up along +y.
  host::SceneObject& pillar = scene.Add(abi::kTypeCylinder, abi::kObjectList);
  Set(pillar.params.rotate, 90, 0, 0);
  host::SceneObject& lifted = scene.Add(abi::kTypeBox, abi::kObjectList);
  lifted.params.hasLocal = 1;
  Set(lifted.params.localScale, 1, 1, 1);
  Set(lifted.params.localTranslate, 0, 0, 3);  // first its own move, then the transform's turn
  Set(lifted.params.rotate, 0, 90, 0);

  const std::vector<Segment> drawing = SceneWireframe(scene);
  const Extent boxLines = ExtentOf(drawing, box.id);
  EXPECT_EQ(boxLines.lines, 12u);
  ExpectNear(boxLines.low, {3, -1, -1});
  ExpectNear(boxLines.high, {7, 1, 1});
  ExpectNear(ExtentOf(drawing, sphere.id).Middle(), {1, 10, 0});
  EXPECT_EQ(ExtentOf(drawing, groupId).lines, 0u);
  const Extent pillarLines = ExtentOf(drawing, pillar.id);
  EXPECT_NEAR(pillarLines.low.y, 0, 1e-9);
  EXPECT_NEAR(pillarLines.high.y, 1, 1e-9);
  EXPECT_NEAR(pillarLines.high.z - pillarLines.low.z, 2, 1e-9);
  // Turned about y by 90 degrees the scene's way, +z goes to -x.
  ExpectNear(ExtentOf(drawing, lifted.id).Middle(), {-3, 0, 0});
}

TEST(Wireframe, AClonesLinesAreItsOwnWhereItStandsAndMeshesShowTheirEdges) {
  host::Scene scene;
  host::SceneObject& source = scene.Add(abi::kTypeSphere, abi::kObjectList);
  Set(source.params.translate, 2, 0, 0);
  const uint32_t sourceId = source.id;
  host::SceneObject& clone = scene.Add(abi::kTypeClone, abi::kObjectList);
  clone.linkA = sourceId;
  Set(clone.params.translate, 0, 0, 5);
  host::SceneObject& loop = scene.Add(abi::kTypeClone, abi::kObjectList);
  loop.linkA = loop.id;  // leads back to itself: drawn as nothing, and the drawing ends
  host::SceneObject& mesh = scene.Add(abi::kTypePolygonMesh, abi::kObjectList);
  mesh.mesh.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  mesh.mesh.faces = {0, 1, 2, 0, 2, 3, 0, 3, 9};  // the last names a vertex the mesh lacks

  const std::vector<Segment> drawing = SceneWireframe(scene);
  const Extent sourceLines = ExtentOf(drawing, sourceId);
  const Extent cloneLines = ExtentOf(drawing, clone.id);
  EXPECT_EQ(cloneLines.lines, sourceLines.lines);
  ExpectNear(cloneLines.Middle(), {2, 0, 5});
  EXPECT_EQ(ExtentOf(drawing, loop.id).lines, 0u);
  EXPECT_EQ(ExtentOf(drawing, mesh.id).lines, 6u);
}

TEST(Wireframe, TheCameraViewSeesAsTheCameraAndCutsWhatLiesBehindIt) {
  host::Scene scene;
  host::SceneObject& camera = scene.Add(abi::kTypeCamera, abi::kCameraList);
  Set(camera.params.translate, 0, 0, 10);  // location
  Set(camera.params.rotate, 0, 0, 0);      // looking at the origin
  Set(camera.data.shape.camera.up, 0, 1, 0);
  camera.data.shape.camera.fieldOfView = 90;
  const auto aim = ActiveCameraAim(scene);
  ASSERT_TRUE(aim);
  const ViewProjection view = ViewProjection::Perspective(*aim, 200, 100);

  const auto centre = view.Map({0, 0, 0}, {1, 0, 0});
  ASSERT_TRUE(centre);
  EXPECT_NEAR(centre->first.first, 100, 1e-9);
  EXPECT_NEAR(centre->first.second, 50, 1e-9);
  // Looking down -z with y up, +x is on the right; a 90 degree field spans the width at
  // the distance of the half width.
  EXPECT_NEAR(centre->second.first, 110, 1e-9);
  const auto above = view.Map({0, 1, 0}, {0, 1, 0});
  EXPECT_LT(above->first.second, 50);

  EXPECT_FALSE(view.Map({0, 0, 11}, {1, 0, 12}));
  const auto cut = view.Map({0, 0, 0}, {0, 1, 20});
  ASSERT_TRUE(cut);
  EXPECT_LT(cut->second.second, -1000);  // cut just before the camera, far above the view

  scene.Find(camera.id)->data.shape.camera.active = 0;
  EXPECT_TRUE(ActiveCameraAim(scene));  // the first camera stands in
  EXPECT_FALSE(ActiveCameraAim(host::Scene()));
}

TEST(Wireframe, OrthographicViewsFitTheDrawingAndLookFromTheirSides) {
  host::Scene scene;
  host::SceneObject& box = scene.Add(abi::kTypeBox, abi::kObjectList);
  Set(box.params.scale, 4, 2, 1);
  Set(box.params.translate, 10, 0, 0);
  scene.Add(abi::kTypePlane, abi::kObjectList);  // endless: the views fit the box alone
  const std::vector<Segment> drawing = SceneWireframe(scene);
  const double noShift[3] = {0, 0, 0};
  for (const uint32_t projection : {0u, 1u, 2u}) {
    const ViewProjection view = ViewProjection::Orthographic(projection, drawing, 1, noShift, 300, 200);
    for (const Segment& segment : drawing) {
      if (segment.backdrop) continue;
      const auto mapped = view.Map(segment.a, segment.b);
      for (const auto& [x, y] : {mapped->first, mapped->second}) {
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 300);
        EXPECT_GE(y, 0);
        EXPECT_LE(y, 200);
      }
    }
  }
  // From the front the box, twice as wide as high, fills the view's width.
  const auto wide = ViewProjection::Orthographic(1, drawing, 1, noShift, 300, 200).Map({6, 0, 0}, {14, 0, 0});
  EXPECT_NEAR(wide->second.first - wide->first.first, 0.9 * 300, 1e-9);
  // From above, -z is up the screen; from the side, -z is on the right.
  const ViewProjection top = ViewProjection::Orthographic(0, drawing, 1, noShift, 300, 200);
  const auto north = top.Map({10, 0, -1}, {10, 0, 1});
  EXPECT_LT(north->first.second, north->second.second);
  const ViewProjection side = ViewProjection::Orthographic(2, drawing, 1, noShift, 300, 200);
  const auto across = side.Map({10, 0, -1}, {10, 0, 1});
  EXPECT_GT(across->first.first, across->second.first);
  // Zoom 2 doubles the size; the record's centre moves the view's middle.
  const double shift[3] = {10, 0, 0};
  const ViewProjection zoomed = ViewProjection::Orthographic(1, drawing, 2, shift, 300, 200);
  const auto halves = zoomed.Map({20, 0, 0}, {20, 1, 0});
  const auto unzoomed =
      ViewProjection::Orthographic(1, drawing, 1, noShift, 300, 200).Map({20, 0, 0}, {20, 1, 0});
  EXPECT_NEAR(halves->first.second - halves->second.second,
              2 * (unzoomed->first.second - unzoomed->second.second), 1e-9);
  const auto middle = zoomed.Map({20, 0, 0}, {20, 0, 0});
  EXPECT_NEAR(middle->first.first, 150, 1e-9);
}

}  // namespace
}  // namespace lumetra::gui
