// The geometry under the shapes: transforms split for the library, polygons cut into
// triangles, patch bases turned into Bezier points.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "rib/patch_basis.h"
#include "rib/placement.h"
#include "rib/triangulation.h"

namespace lumetra::rib {
namespace {

// Where the library puts `p` after PlacePrimitive(m): a sphere moved to p first, then placed.
math::Vector3 PlacedByLibrary(L2Scene scene, const math::Matrix4& m, const math::Vector3& p) {
  const L2Primitive prim = CreateSphere(scene, 0, 0, 0, 1);
  EXPECT_EQ(TranslatePrim(scene, prim, p.x, p.y, p.z), L2_OK);
  EXPECT_EQ(PlacePrimitive(scene, prim, m), L2_OK);
  double at[3];
  EXPECT_EQ(GetPrimLocation(scene, prim, at), L2_OK);
  return {at[0], at[1], at[2]};
}

void ExpectNear(const math::Vector3& a, const math::Vector3& b, double tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(RibPlacement, TheLibraryMovesPointsAsTheMatrixDoes) {
  const L2Scene scene = NewScene();
  ASSERT_NE(scene, 0u);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-3, 3);
  // Turns, mirrors, shears and unequal scales all come through the split.
  std::vector<math::Matrix4> matrices = {
      math::Matrix4::AxisAngle({1, 2, 3}, 0.7),
      math::Matrix4({-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1}),
      math::Matrix4({1, 0.5, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1}),
      math::Matrix4::AxisAngle({0, 1, 0}, std::numbers::pi / 2)};  // the gimbal-locked turn
  for (int i = 0; i < 20; ++i) {
    std::array<double, 16> e{};
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 3; ++c) e[4 * r + c] = value(random);
    e[15] = 1;
    matrices.emplace_back(e);
  }
  for (const math::Matrix4& m : matrices)
    for (const math::Vector3& p : {math::Vector3{0, 0, 0}, math::Vector3{1, 0, 0}, math::Vector3{0, 1, 0},
                                   math::Vector3{0, 0, 1}, math::Vector3{0.3, -2, 1.5}})
      ExpectNear(PlacedByLibrary(scene, m, p), TransformPoint(m, p), 1e-9);
  FreeScene(scene);
}

TEST(RibPlacement, AFlatTransformKeepsASliverAndRefusesNothing) {
  const L2Scene scene = NewScene();
  math::Matrix4 flat;
  flat(2, 2) = 0;
  flat(3, 0) = 4;
  ExpectNear(PlacedByLibrary(scene, flat, {1, 2, 3}), {5, 2, 0}, 1e-6);
  FreeScene(scene);
  EXPECT_FALSE(IsUsableTransform(math::Matrix4({1e200, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})));
  EXPECT_TRUE(IsUsableTransform(math::Matrix4()));
}

double TriangleArea(const std::vector<math::Vector3>& points, const std::array<int, 3>& t) {
  return math::Length(math::Cross(points[t[1]] - points[t[0]], points[t[2]] - points[t[0]])) / 2;
}

TEST(RibTriangulation, ConcaveOutlinesAndHolesKeepTheirArea) {
  // An L in the xz plane, wound clockwise seen from above.
  const std::vector<math::Vector3> l = {{0, 0, 0}, {0, 0, 2}, {1, 0, 2}, {1, 0, 1}, {2, 0, 1}, {2, 0, 0}};
  const auto lTriangles = Triangulate({l});
  ASSERT_EQ(lTriangles.size(), 4u);
  double area = 0;
  for (const auto& t : lTriangles) area += TriangleArea(l, t);
  EXPECT_NEAR(area, 3, 1e-12);

  // A square with two square holes: 16 - 1 - 1.
  std::vector<std::vector<math::Vector3>> loops = {
      {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}},
      {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}},
      {{2.5, 2.5, 0}, {2.5, 3.5, 0}, {3.5, 3.5, 0}, {3.5, 2.5, 0}}};
  std::vector<math::Vector3> all;
  for (const auto& loop : loops) all.insert(all.end(), loop.begin(), loop.end());
  const auto triangles = Triangulate(loops);
  area = 0;
  for (const auto& t : triangles) {
    area += TriangleArea(all, t);
    // No triangle covers a hole's centre.
    for (const math::Vector3 centre : {math::Vector3{1.5, 1.5, 0}, math::Vector3{3, 3, 0}}) {
      const auto side = [&](int a, int b) {
        return (all[b].x - all[a].x) * (centre.y - all[a].y) - (all[b].y - all[a].y) * (centre.x - all[a].x);
      };
      const double s0 = side(t[0], t[1]), s1 = side(t[1], t[2]), s2 = side(t[2], t[0]);
      EXPECT_FALSE((s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0));
    }
  }
  EXPECT_NEAR(area, 14, 1e-9);
}

TEST(RibTriangulation, DegenerateLoopsGiveNoFlatTriangles) {
  EXPECT_TRUE(Triangulate({{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}}).empty());
  EXPECT_TRUE(Triangulate({{{0, 0, 0}, {1, 0, 0}}}).empty());
  EXPECT_TRUE(Triangulate({}).empty());
}

// A point of the bicubic patch `points` spans in `basis` (both directions), straight from
// the definition [t^3 t^2 t 1] * basis * points.
math::Vector3 Evaluate(const BasisMatrix& basis, const PatchPoints& points, double u, double v) {
  auto weights = [&](double t) {
    const double powers[4] = {t * t * t, t * t, t, 1};
    std::array<double, 4> w{};
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) w[c] += powers[r] * basis[4 * r + c];
    return w;
  };
  const auto wu = weights(u), wv = weights(v);
  math::Vector3 sum;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) sum = sum + points[4 * j + i] * (wu[i] * wv[j]);
  return sum;
}

TEST(RibPatchBasis, EveryBasisBecomesTheSameSurfaceInBezierPoints) {
  PatchPoints points;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) points[4 * j + i] = {i * 1.0, j * 1.0, std::sin(i + 2.0 * j)};
  const BasisMatrix bezier = NamedBasis("bezier")->matrix;
  for (const char* name : {"bezier", "b-spline", "catmull-rom", "hermite", "power"}) {
    const auto basis = NamedBasis(name);
    ASSERT_TRUE(basis) << name;
    const PatchPoints converted = ToBezier(basis->matrix, basis->matrix, points);
    for (const double u : {0.0, 0.3, 1.0})
      for (const double v : {0.0, 0.6, 1.0})
        ExpectNear(Evaluate(bezier, converted, u, v), Evaluate(basis->matrix, points, u, v), 1e-12);
  }
  EXPECT_EQ(NamedBasis("bspline")->step, 1);
  EXPECT_EQ(NamedBasis("hermite")->step, 2);
  EXPECT_FALSE(NamedBasis("nurbs"));
}

}  // namespace
}  // namespace lumetra::rib
