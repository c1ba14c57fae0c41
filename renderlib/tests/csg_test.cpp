// CSG truth tables: which crossings each operation keeps and which points are inside, for
// shapes and for triangle-mesh operands under their transforms.
#include <gtest/gtest.h>

#include <vector>

#include "csg.h"
#include "lumetra2.h"
#include "sphere.h"
#include "triangle_mesh.h"

namespace lumetra::renderlib {
namespace {

Primitive shapePrimitive(std::shared_ptr<Shape> shape) {
  Primitive p;
  p.shape = std::move(shape);
  return p;
}

struct Crossing {
  double x;
  double normal_x;
};

// Every crossing along the x axis from x = -5, in order.
std::vector<Crossing> crossingsAlongX(const Shape& shape) {
  std::vector<Crossing> out;
  const Ray ray{{-5, 0, 0}, {1, 0, 0}};
  double tmin = 0;
  SurfaceHit hit;
  while (out.size() < 16 && shape.intersect(ray, tmin, 100, hit)) {
    out.push_back({ray.at(hit.t).x, normalized(hit.normal).x});
    tmin = hit.t + 1e-7;
  }
  return out;
}

void expectCrossings(const Shape& shape, const std::vector<Crossing>& expected) {
  const std::vector<Crossing> actual = crossingsAlongX(shape);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i].x, expected[i].x, 1e-5) << "crossing " << i;
    EXPECT_NEAR(actual[i].normal_x, expected[i].normal_x, 1e-5) << "crossing " << i;
  }
}

// Spheres of radius 1 about x = -0.5 (left) and x = 0.5 (right); probes at x = -1 (left
// only), 0 (both), 1 (right only) and 3 (neither).
class TwoSpheres : public ::testing::Test {
 protected:
  Primitive left = shapePrimitive(std::make_shared<Sphere>(Vec3{-0.5, 0, 0}, 1));
  Primitive right = shapePrimitive(std::make_shared<Sphere>(Vec3{0.5, 0, 0}, 1));

  void expectInside(const CsgNode& node, std::vector<bool> expected) {
    const double probes[] = {-1, 0, 1, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(node.inside({probes[i], 0, 0}), expected[i]) << "x = " << probes[i];
  }
};

TEST_F(TwoSpheres, UnionKeepsEverySurface) {
  const CsgNode node(L2_CSG_UNION, left, right);
  expectCrossings(node, {{-1.5, -1}, {-0.5, -1}, {0.5, 1}, {1.5, 1}});
  expectInside(node, {true, true, true, false});
}

TEST_F(TwoSpheres, MergeDropsTheInnerSurfaces) {
  const CsgNode node(L2_CSG_MERGE, left, right);
  expectCrossings(node, {{-1.5, -1}, {1.5, 1}});
  expectInside(node, {true, true, true, false});
}

TEST_F(TwoSpheres, IntersectionKeepsTheLens) {
  const CsgNode node(L2_CSG_INTERSECTION, left, right);
  expectCrossings(node, {{-0.5, -1}, {0.5, 1}});
  expectInside(node, {false, true, false, false});
}

TEST_F(TwoSpheres, DifferenceShowsTheCutFromInside) {
  const CsgNode node(L2_CSG_DIFFERENCE, left, right);
  // The right sphere's surface inside the left one faces into the cut: its normal turns.
  expectCrossings(node, {{-1.5, -1}, {-0.5, 1}});
  expectInside(node, {true, false, false, false});
  const CsgNode reversed(L2_CSG_DIFFERENCE, right, left);
  expectCrossings(reversed, {{0.5, -1}, {1.5, 1}});
}

TEST_F(TwoSpheres, OperandTransformsAndNestedNodes) {
  // Moving the right operand away empties the intersection and leaves the left sphere whole.
  ASSERT_TRUE(right.placement.append(Affine::translation({3, 0, 0})));
  const CsgNode apart(L2_CSG_INTERSECTION, left, right);
  expectCrossings(apart, {});
  const CsgNode cut(L2_CSG_DIFFERENCE, left, right);
  expectCrossings(cut, {{-1.5, -1}, {0.5, 1}});
  // (left minus right) merged with a third sphere, scaled: nodes nest like leaves.
  Primitive difference = shapePrimitive(std::make_shared<CsgNode>(L2_CSG_DIFFERENCE, left, right));
  ASSERT_TRUE(difference.placement.append(Affine::scaling({2, 2, 2})));
  Primitive third = shapePrimitive(std::make_shared<Sphere>(Vec3{1.5, 0, 0}, 1));
  const CsgNode merged(L2_CSG_MERGE, difference, third);
  expectCrossings(merged, {{-3, -1}, {2.5, 1}});
  EXPECT_TRUE(merged.inside({0.9, 0, 0}));
  EXPECT_FALSE(merged.inside({0, 2.5, 0}));
  const Bounds b = merged.bounds();
  EXPECT_NEAR(b.lower.x, -3, 1e-12);
  EXPECT_NEAR(b.upper.x, 2.5, 1e-12);
}

TEST(CsgWithMeshes, CubeMeshMinusSphere) {
  MeshInput cube;
  for (int i = 0; i < 8; ++i)
    cube.vertices.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
  // Two triangles a face, wound counter-clockwise seen from outside.
  cube.faces = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
  cube.counter_clockwise = true;
  const std::shared_ptr<TriangleMesh> mesh = TriangleMesh::create(cube);
  ASSERT_TRUE(mesh);
  Primitive box = shapePrimitive(mesh);
  ASSERT_TRUE(box.placement.append(Affine::scaling({2, 1, 1})));
  EXPECT_TRUE(mesh->inside({0.2, 0.3, -0.4}));
  EXPECT_FALSE(mesh->inside({1.5, 0, 0}));
  Primitive ball = shapePrimitive(std::make_shared<Sphere>(Vec3{2, 0, 0}, 1));
  const CsgNode node(L2_CSG_DIFFERENCE, box, ball);
  expectCrossings(node, {{-2, -1}, {1, 1}});
  EXPECT_TRUE(node.inside({0, 0, 0}));
  EXPECT_FALSE(node.inside({1.5, 0, 0}));
}

}  // namespace
}  // namespace lumetra::renderlib
