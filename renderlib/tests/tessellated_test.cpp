// Height fields and spline meshes: heights, curvature-free patches, coordinates, smoothing,
// and the entries that query and change them.
#include <gtest/gtest.h>

#include "height_field.h"
#include "lumetra2.h"
#include "spline_mesh.h"

namespace lumetra::renderlib {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

void expectFlat(const SurfaceHit& hit, const Vec3& normal) {
  const Vec3 n = normalized(hit.normal);
  EXPECT_NEAR(n.x, normal.x, 1e-9);
  EXPECT_NEAR(n.y, normal.y, 1e-9);
  EXPECT_NEAR(n.z, normal.z, 1e-9);
}

SurfaceHit hitFromAbove(const TriangleMesh& mesh, double x, double z) {
  SurfaceHit hit;
  EXPECT_TRUE(mesh.intersect({{x, 100, z}, {0, -1, 0}}, 0, kInf, hit)) << x << ", " << z;
  return hit;
}

TEST(HeightField, CellsAreTwoPlanarTriangles) {
  // 3 columns x 2 rows.
  const std::vector<double> heights{0.0, 1.0, 0.5, 0.2, 0.6, 0.0};
  const HeightField field(3, 2, heights, 8, false);
  const auto mesh = TriangleMesh::create(field.tessellate());
  ASSERT_TRUE(mesh);
  EXPECT_EQ(mesh->faceCount(), 4u);
  // (0.5, 0.25) lies in the cell's first triangle: heights 0, 1 (x) and 0.2 (z).
  SurfaceHit hit = hitFromAbove(*mesh, 0.5, 0.25);
  EXPECT_NEAR(100 - hit.t, 0.5 * 1.0 + 0.25 * 0.2, 1e-6);
  EXPECT_NEAR(hit.u, 0.25, 1e-6);  // x / (columns - 1)
  EXPECT_NEAR(hit.v, 0.25, 1e-6);  // z / (rows - 1)
  EXPECT_GT(normalized(hit.normal).y, 0);
  // (1.75, 0.75) lies in the second cell's second triangle, the plane through
  // b = (2, 0.5, 0), c = (1, 0.6, 1) and d = (2, 0, 1).
  hit = hitFromAbove(*mesh, 1.75, 0.75);
  const Vec3 b{2, 0.5, 0}, c{1, 0.6, 1}, d{2, 0, 1};
  const Vec3 n = cross(c - b, d - b);
  const double y = b.y - (n.x * (1.75 - b.x) + n.z * (0.75 - b.z)) / n.y;
  EXPECT_NEAR(100 - hit.t, y, 1e-6);
}

TEST(HeightField, SphericalFieldsRaiseTheUnitSphere) {
  HeightField field(9, 5, std::vector<double>(45, 1.0), 8, true);  // radius 2 everywhere
  auto mesh = TriangleMesh::create(field.tessellate());
  SurfaceHit hit;
  // Longitude 0, latitude 0 is a grid point on the +x axis.
  ASSERT_TRUE(mesh->intersect({{10, 0, 0}, {-1, 0, 0}}, 0, kInf, hit));
  EXPECT_NEAR(hit.t, 8, 1e-6);
  EXPECT_GT(normalized(hit.normal).x, 0.8);  // a face's normal at the grid point
  // Only the northern half, from longitude 0 to 90: the -x side is empty now.
  ASSERT_TRUE(field.setSphericalBounds(0, 90, 0, 90));
  EXPECT_FALSE(field.setSphericalBounds(10, 5, 0, 90));
  mesh = TriangleMesh::create(field.tessellate());
  EXPECT_FALSE(mesh->intersect({{-10, 0.5, 0.5}, {1, 0, 0}}, 0, 9, hit));
  ASSERT_TRUE(mesh->intersect({{0.2, 10, 0.2}, {0, -1, 0}}, 0, kInf, hit));
  EXPECT_NEAR(10 - hit.t, 2, 0.1);  // the polar cap's triangles
}

TEST(HeightField, SmoothingBendsNormalsAcrossCells) {
  // A ridge along z: its faces tilt either way, the smoothed normal on the ridge stands up.
  HeightField field(3, 2, {0, 1, 0, 0, 1, 0}, 8, false);
  auto flat = TriangleMesh::create(field.tessellate());
  SurfaceHit hit = hitFromAbove(*flat, 0.999, 0.5);
  EXPECT_GT(std::fabs(normalized(hit.normal).x), 0.5);
  field.setSmooth();
  auto smooth = TriangleMesh::create(field.tessellate());
  smooth->smooth(180);
  hit = hitFromAbove(*smooth, 0.999, 0.5);
  EXPECT_LT(std::fabs(normalized(hit.normal).x), 0.01);
}

TEST(SplineMesh, FlatPatchAndModifiedPoints) {
  // Control points on a 4 x 4 grid in the x-y plane: the patch is that plane.
  std::vector<Vec3> points;
  std::array<int, 16> patch;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      patch[row * 4 + column] = int(points.size());
      points.push_back({double(column), double(row), 0});
    }
  }
  SplineMesh spline(points, {patch});
  spline.setSteps(5, 3);
  MeshInput input = spline.tessellate();
  EXPECT_EQ(input.vertices.size(), 15u);
  EXPECT_EQ(input.faces.size(), 3u * 2 * 4 * 2);
  auto mesh = TriangleMesh::create(input);
  SurfaceHit hit;
  ASSERT_TRUE(mesh->intersect({{1.5, 0.75, 5}, {0, 0, -1}}, 0, kInf, hit));
  EXPECT_NEAR(hit.t, 5, 1e-6);
  EXPECT_NEAR(std::fabs(normalized(hit.normal).z), 1, 1e-9);
  EXPECT_NEAR(hit.u, 0.5, 1e-6);
  EXPECT_NEAR(hit.v, 0.25, 1e-6);
  // Lifting the middle four points by 1 bulges the patch's centre by the square of the inner
  // Bernstein weights' sum at 1/2: B1 + B2 = 3/8 + 3/8.
  for (int index : {5, 6, 9, 10}) points[index].z = 1;
  spline.setPoints(points);
  mesh = TriangleMesh::create(spline.tessellate());
  const double inner = 0.75;
  ASSERT_TRUE(mesh->intersect({{1.5, 1.5, 5}, {0, 0, -1}}, 0, kInf, hit));
  EXPECT_NEAR(5 - hit.t, inner * inner, 1e-6);
}

TEST(TriangleMesh, CornerNormalsCoordinatesAndWinding) {
  MeshInput input;
  input.vertices = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}};
  input.faces = {0, 1, 2};
  input.normals = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
  input.normal_faces = {0, 1, 2};
  input.uvs = {{0.5, 0.5, 0}, {1, 0.5, 0}, {0.5, 1, 0}};
  input.uv_faces = {0, 1, 2};
  input.counter_clockwise = true;  // seen from +z the corners run counter-clockwise: front +z
  auto mesh = TriangleMesh::create(input);
  SurfaceHit hit;
  ASSERT_TRUE(mesh->intersect({{0.5, 0.5, -3}, {0, 0, 1}}, 0, kInf, hit));
  EXPECT_NEAR(hit.t, 3, 1e-12);
  // Barycentric (1/4, 1/4): the corner values mixed 1/2, 1/4, 1/4.
  EXPECT_NEAR(hit.u, 0.625, 1e-6);
  EXPECT_NEAR(hit.v, 0.625, 1e-6);
  const Vec3 n = normalized(hit.normal);
  EXPECT_NEAR(n.x, n.y, 1e-6);
  EXPECT_GT(n.x, 0.1);
  EXPECT_GT(n.z, 0);
  mesh->describe(0, 0.25, 0.25, false, hit);  // flat: the face's own normal
  expectFlat(hit, {0, 0, 1});
  input.counter_clockwise = false;
  input.normals.clear();
  input.normal_faces.clear();
  mesh = TriangleMesh::create(input);
  mesh->describe(0, 0.25, 0.25, true, hit);
  expectFlat(hit, {0, 0, -1});
}

TEST(TessellatedEntries, QueriesAndChecks) {
  const L2Scene scene = NewScene();
  const uint16_t wide[6] = {0, 256, 512, 0, 0, 65535};
  const L2Primitive field = CreateHeight16(scene, 3, 2, wide);
  ASSERT_NE(field, 0u);
  int32_t value = 0;
  EXPECT_EQ(GetHeightFieldBitDepth(scene, field, &value), L2_OK);
  EXPECT_EQ(value, 16);
  EXPECT_EQ(GetHeightFieldWidth(scene, field, &value), L2_OK);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(GetHeightFieldLength(scene, field, &value), L2_OK);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(GetHeightFieldLength(scene, field, nullptr), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SmoothHeightField(scene, field), L2_OK);
  EXPECT_EQ(SetSphericalHeightBounds(scene, field, 0, 90, 0, 90), L2_ERROR_HANDLE);  // not spherical
  const uint8_t narrow[4] = {1, 2, 3, 4};
  EXPECT_EQ(CreateHeight8(scene, 1, 4, narrow), 0u);
  EXPECT_EQ(CreateHeight8(scene, 2, 2, nullptr), 0u);
  const L2Primitive sphere = CreateSphericalHeight8(scene, 2, 2, narrow);
  ASSERT_NE(sphere, 0u);
  EXPECT_EQ(GetHeightFieldBitDepth(scene, sphere, &value), L2_OK);
  EXPECT_EQ(value, 8);
  EXPECT_EQ(SetSphericalHeightBounds(scene, sphere, -45, 45, 0, 180), L2_OK);
  EXPECT_EQ(SetSphericalHeightBounds(scene, sphere, -95, 45, 0, 180), L2_ERROR_ARGUMENT);
  EXPECT_EQ(GetHeightFieldWidth(scene, CreateSphere(scene, 0, 0, 0, 1), &value), L2_ERROR_HANDLE);

  double points[16 * 3];
  int32_t patch[16];
  for (int i = 0; i < 16; ++i) {
    points[3 * i] = i % 4;
    points[3 * i + 1] = i / 4;
    points[3 * i + 2] = 0;
    patch[i] = i;
  }
  const L2Primitive spline = CreateSplineMesh(scene, L2_PATCH_BEZIER, 16, points, 1, patch);
  ASSERT_NE(spline, 0u);
  EXPECT_EQ(SetPrimUV(scene, spline, 4, 6), L2_OK);
  EXPECT_EQ(SetPrimUV(scene, spline, 1, 6), L2_ERROR_ARGUMENT);
  EXPECT_EQ(ModifySplineMeshVertices(scene, spline, 16, points), L2_OK);
  EXPECT_EQ(ModifySplineMeshVertices(scene, spline, 15, points), L2_ERROR_ARGUMENT);
  patch[3] = 16;
  EXPECT_EQ(CreateSplineMesh(scene, L2_PATCH_BEZIER, 16, points, 1, patch), 0u);
  EXPECT_EQ(CreateSplineMesh(scene, 7, 16, points, 1, patch), 0u);
  EXPECT_EQ(FreeScene(scene), L2_OK);
}

}  // namespace
}  // namespace lumetra::renderlib
