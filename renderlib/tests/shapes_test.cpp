// Ray hits, normals and surface coordinates of the analytic shapes, against answers worked
// out here from the shapes' definitions.
#include <gtest/gtest.h>
#include <numbers>

#include "blob.h"
#include "box.h"
#include "cone.h"
#include "disc.h"
#include "sphere.h"
#include "superquadric.h"
#include "torus.h"

namespace lumetra::renderlib {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

void expectNear(const Vec3& actual, const Vec3& expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

SurfaceHit mustHit(const Shape& shape, const Ray& ray, double tmin = 0, double tmax = kInf) {
  SurfaceHit hit;
  EXPECT_TRUE(shape.intersect(ray, tmin, tmax, hit));
  const auto [u, v] = surfaceCoordinates(hit);
  hit.setCoordinates(u, v);
  return hit;
}

TEST(Sphere, HitsNearSideThenFarSideWithOutwardNormals) {
  const Sphere sphere({1, 2, 3}, 2);
  const Ray ray{{1, 2, -10}, {0, 0, 1}};
  SurfaceHit hit = mustHit(sphere, ray);
  EXPECT_NEAR(hit.t, 11, 1e-12);
  expectNear(normalized(hit.normal), {0, 0, -1});
  hit = mustHit(sphere, ray, 11 + 1e-9);
  EXPECT_NEAR(hit.t, 15, 1e-12);
  expectNear(normalized(hit.normal), {0, 0, 1});
  EXPECT_FALSE(sphere.intersect(ray, 15 + 1e-9, kInf, hit));
  EXPECT_FALSE(sphere.intersect(ray, 0, 10.5, hit));
  EXPECT_FALSE(sphere.intersect({{4, 2, -10}, {0, 0, 1}}, 0, kInf, hit));
}

TEST(Sphere, NonUnitDirectionsKeepTheRayParameter) {
  const Sphere sphere({0, 0, 0}, 1);
  const SurfaceHit hit = mustHit(sphere, {{0, 0, -5}, {0, 0, 4}});
  EXPECT_NEAR(hit.t, 1.0, 1e-12);
}

TEST(Sphere, SurfaceCoordinatesFollowLongitudeAndLatitude) {
  const Sphere sphere({0, 0, 0}, 2);
  // A point at latitude 30 degrees, longitude 60 degrees (measured from +x towards +z).
  const double lat = std::numbers::pi / 6, lon = std::numbers::pi / 3;
  const Vec3 target{2 * std::cos(lat) * std::cos(lon), 2 * std::sin(lat), 2 * std::cos(lat) * std::sin(lon)};
  const SurfaceHit hit = mustHit(sphere, {target * 3, -target});
  EXPECT_NEAR(hit.u, 1.0 / 6, 1e-9);
  EXPECT_NEAR(hit.v, 0.5 + 1.0 / 6, 1e-9);
  EXPECT_TRUE(sphere.inside({0.5, 0.5, 0.5}));
  EXPECT_FALSE(sphere.inside({1.5, 1.5, 0}));
}

TEST(Box, EachFaceGivesItsNormalAndCoordinates) {
  const Box box({2, 1, 0}, {-2, -1, 4});  // corners in any order
  struct Case {
    Ray ray;
    double t;
    Vec3 normal;
    double u, v;
  };
  const Case cases[] = {
      {{{-5, 0.5, 3}, {1, 0, 0}}, 3, {-1, 0, 0}, 0.75, 0.75},  // x face: (z, y)
      {{{1, 5, 1}, {0, -1, 0}}, 4, {0, 1, 0}, 0.75, 0.25},     // y face: (x, z)
      {{{-1, 0, 9}, {0, 0, -1}}, 5, {0, 0, 1}, 0.25, 0.5},     // z face: (x, y)
  };
  for (const Case& c : cases) {
    const SurfaceHit hit = mustHit(box, c.ray);
    EXPECT_NEAR(hit.t, c.t, 1e-12);
    expectNear(normalized(hit.normal), c.normal);
    EXPECT_NEAR(hit.u, c.u, 1e-12);
    EXPECT_NEAR(hit.v, c.v, 1e-12);
  }
}

TEST(Box, FromInsideHitsTheExitFaceAndMissesBeside) {
  const Box box({-1, -1, -1}, {1, 1, 1});
  const SurfaceHit hit = mustHit(box, {{0, 0, 0}, {0, 1, 0}});
  EXPECT_NEAR(hit.t, 1, 1e-12);
  expectNear(hit.normal, {0, 1, 0});
  SurfaceHit miss;
  EXPECT_FALSE(box.intersect({{2, 0, 0}, {0, 1, 0}}, 0, kInf, miss));
  EXPECT_FALSE(box.intersect({{-3, 0, 0}, {1, 1.5, 0}}, 0, kInf, miss));
  EXPECT_TRUE(box.inside({0.9, -0.9, 0}));
  EXPECT_FALSE(box.inside({1.1, 0, 0}));
}

TEST(Cone, CylinderSideAndCaps) {
  Cone cylinder({0, 0, 0}, 1, {0, 4, 0}, 1);
  SurfaceHit hit = mustHit(cylinder, {{-5, 1, 0}, {1, 0, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-12);
  expectNear(normalized(hit.normal), {-1, 0, 0});
  EXPECT_NEAR(hit.v, 0.25, 1e-12);
  hit = mustHit(cylinder, {{0.5, 10, 0}, {0, -1, 0}});
  EXPECT_NEAR(hit.t, 6, 1e-12);
  expectNear(normalized(hit.normal), {0, 1, 0});
  EXPECT_NEAR(hit.v, 1, 1e-12);
  hit = mustHit(cylinder, {{0.5, -3, 0}, {0, 1, 0}});
  expectNear(normalized(hit.normal), {0, -1, 0});

  cylinder.setCapped(false);
  // Without caps the ray down the axis passes through; one off the axis meets the inside wall.
  SurfaceHit open;
  EXPECT_FALSE(cylinder.intersect({{0.5, 10, 0}, {0, -1, 0}}, 0, kInf, open));
  // Through the open top onto the inside wall, whose normal still points out.
  hit = mustHit(cylinder, {{0, 5, 0}, {1, -2, 0}});
  EXPECT_NEAR(hit.t, 1, 1e-12);
  expectNear(normalized(hit.normal), {1, 0, 0});
  EXPECT_NEAR(hit.v, 0.75, 1e-12);
}

TEST(Cone, SlantedSideNormalAndRadiusChange) {
  // Radius 2 at y = 0 narrowing to 0 at y = 2: the side is the plane x + y = 2 in the x-y cut.
  Cone cone({0, 0, 0}, 2, {0, 2, 0}, 0);
  SurfaceHit hit = mustHit(cone, {{5, 1, 0}, {-1, 0, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-12);
  expectNear(normalized(hit.normal), Vec3{1, 1, 0} / std::sqrt(2.0));
  EXPECT_NEAR(hit.v, 0.5, 1e-12);
  cone.setRadii(4, 0);  // radius 4 - 2 y: 2 at y = 1
  hit = mustHit(cone, {{5, 1, 0}, {-1, 0, 0}});
  EXPECT_NEAR(hit.t, 3, 1e-12);
  EXPECT_TRUE(cone.inside({1, 1, 0}));
  EXPECT_FALSE(cone.inside({3.5, 1, 0}));
}

TEST(Disc, AnnulusHitsBetweenItsRadiiOnly) {
  const Disc disc({0, 1, 0}, {0, 2, 0}, 1, 3);
  SurfaceHit hit = mustHit(disc, {{2, 5, 0}, {0, -1, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-12);
  expectNear(normalized(hit.normal), {0, 1, 0});
  EXPECT_NEAR(hit.v, 0.5, 1e-12);
  SurfaceHit miss;
  EXPECT_FALSE(disc.intersect({{0.5, 5, 0}, {0, -1, 0}}, 0, kInf, miss));
  EXPECT_FALSE(disc.intersect({{3.5, 5, 0}, {0, -1, 0}}, 0, kInf, miss));
  EXPECT_FALSE(disc.intersect({{2, 5, 0}, {1, 0, 0}}, 0, kInf, miss));
  EXPECT_TRUE(disc.inside({100, 0, 100}));
  EXPECT_FALSE(disc.inside({0, 2, 0}));
}

class TorusSolvers : public ::testing::TestWithParam<bool> {};

TEST_P(TorusSolvers, FourCrossingsAlongTheEquator) {
  Torus torus({0, 0, 0}, {0, 1, 0}, 3, 1);
  torus.setSturm(GetParam());
  const Ray ray{{-10, 0, 0}, {1, 0, 0}};
  const double expected[] = {6, 8, 12, 14};
  const Vec3 normals[] = {{-1, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}};
  double tmin = 0;
  for (int i = 0; i < 4; ++i) {
    const SurfaceHit hit = mustHit(torus, ray, tmin);
    EXPECT_NEAR(hit.t, expected[i], 1e-7);
    expectNear(normalized(hit.normal), normals[i], 1e-6);
    EXPECT_NEAR(hit.u, i < 2 ? 0.5 : 0, 1e-9);  // -x is half a turn about y from +x
    tmin = hit.t + 1e-6;
  }
  SurfaceHit none;
  EXPECT_FALSE(torus.intersect(ray, tmin, kInf, none));
}

TEST_P(TorusSolvers, GrazingTopAndTiltedAxis) {
  // Axis along z: the tube's top at (3, 0, 1) is met by a ray straight down the z axis offset by 3.
  Torus torus({1, 1, 1}, {0, 0, 2}, 3, 1);
  torus.setSturm(GetParam());
  SurfaceHit hit = mustHit(torus, {{4, 1, 11}, {0, 0, -1}});
  EXPECT_NEAR(hit.t, 9, 1e-6);
  expectNear(normalized(hit.normal), {0, 0, 1}, 1e-6);
  EXPECT_NEAR(hit.v, 0.25, 1e-6);  // a quarter turn round the tube from its outer equator
  // Far away along a skew line the closed form must still find the near crossing.
  const Vec3 target{1 + 4 * std::cos(0.3), 1 + 4 * std::sin(0.3), 1};
  const Vec3 direction = normalized(Vec3{-3, 1, -2});
  hit = mustHit(torus, {target - direction * 1000, direction});
  EXPECT_NEAR(hit.t, 1000, 1e-5);
  EXPECT_TRUE(torus.inside({4, 1, 1.5}));
  EXPECT_FALSE(torus.inside({1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(FastAndSturm, TorusSolvers, ::testing::Values(false, true));

TEST(Superquadric, UnitPowersMakeTheUnitSphere) {
  const Superquadric round(1, 1);
  const Vec3 direction = normalized(Vec3{-1, -2, -0.5});
  const SurfaceHit hit = mustHit(round, {direction * -5, direction});
  EXPECT_NEAR(hit.t, 4, 1e-9);
  expectNear(normalized(hit.normal), -direction, 1e-6);
  EXPECT_NEAR(hit.v, 0.5 + std::asin(-direction.z) / std::numbers::pi, 1e-9);
}

TEST(Superquadric, EqualPowersBelowOneRoundABox) {
  // e = n = 0.5: x^4 + y^4 + z^4 = 1; along the diagonal 3 s^4 = 1.
  Superquadric boxy(0.5, 0.5);
  const Vec3 diagonal = normalized(Vec3{1, 1, 1});
  SurfaceHit hit = mustHit(boxy, {diagonal * 5, -diagonal});
  EXPECT_NEAR(hit.t, 5 - std::sqrt(3.0) * std::pow(3.0, -0.25), 1e-9);
  expectNear(normalized(hit.normal), diagonal, 1e-6);
  hit = mustHit(boxy, {{-5, 0, 0}, {1, 0, 0}});
  EXPECT_NEAR(hit.t, 4, 1e-9);
  expectNear(normalized(hit.normal), {-1, 0, 0}, 1e-9);
  // From inside, the far side; and a ray past the corner misses.
  hit = mustHit(boxy, {{0, 0, 0}, {0, 0, 1}});
  EXPECT_NEAR(hit.t, 1, 1e-9);
  SurfaceHit miss;
  EXPECT_FALSE(boxy.intersect({{0.95, 0.95, -5}, {0, 0, 1}}, 0, kInf, miss));  // 2 * 0.95^4 > 1
  EXPECT_TRUE(boxy.inside({0.8, 0.5, 0}));
  EXPECT_FALSE(boxy.inside({0.95, 0.95, 0}));
  // Different powers: east-west 2 makes the cross-section a diamond |x| + |y| = 1 at z = 0.
  boxy.setPowers(2, 1);
  hit = mustHit(boxy, {{0.5, -5, 0}, {0, 1, 0}});
  EXPECT_NEAR(hit.t, 4.5, 1e-9);
}

class BlobSolvers : public ::testing::TestWithParam<bool> {};

TEST_P(BlobSolvers, OneSphereComponentIsASphereAtTheThreshold) {
  Blob blob;
  blob.setSturm(GetParam());
  blob.addSphere({0, 0, 0}, 2, 1);
  blob.setThreshold(0.25);  // (1 - d^2 / 4)^2 = 1/4 at d = sqrt(2)
  const SurfaceHit hit = mustHit(blob, {{-5, 0, 0}, {1, 0, 0}});
  EXPECT_NEAR(hit.t, 5 - std::sqrt(2.0), 1e-9);
  expectNear(normalized(hit.normal), {-1, 0, 0}, 1e-9);
  EXPECT_NEAR(mustHit(blob, {{0, 0, 0}, {0, 0, 1}}).t, std::sqrt(2.0), 1e-9);
}

TEST_P(BlobSolvers, OverlappingFieldsAdd) {
  Blob blob;
  blob.setSturm(GetParam());
  blob.addSphere({-1, 0, 0}, 2, 1);
  blob.addSphere({1, 0, 0}, 2, 1);
  blob.setThreshold(0.6);
  // Between the centres: 2 (1 - (1 + y^2) / 4)^2 = 0.6.
  const double y = std::sqrt(4 * (1 - std::sqrt(0.3)) - 1);
  const SurfaceHit hit = mustHit(blob, {{0, -5, 0}, {0, 1, 0}});
  EXPECT_NEAR(hit.t, 5 - y, 1e-9);
  expectNear(normalized(hit.normal), {0, -1, 0}, 1e-9);
  EXPECT_TRUE(blob.inside({0, 0, 0}));
  EXPECT_FALSE(blob.inside({0, 1, 0}));
  // A negative component carves a hollow: at (0, 0, 0) the field drops to 0.525.
  blob.addSphere({0, 0, 0}, 1, -0.6);
  EXPECT_FALSE(blob.inside({0, 0, 0}));
  const SurfaceHit dent = mustHit(blob, {{0, 0, -5}, {0, 0, 1}});
  EXPECT_GT(dent.t, 5 - y);
}

TEST_P(BlobSolvers, CylinderComponentsHaveRoundEnds) {
  Blob blob;
  blob.setSturm(GetParam());
  blob.addCylinder({-1, 0, 0}, {1, 0, 0}, 1, 1);
  blob.setThreshold(0.25);  // the surface lies sqrt(1/2) from the segment
  const double d = std::sqrt(0.5);
  EXPECT_NEAR(mustHit(blob, {{0.5, 5, 0}, {0, -1, 0}}).t, 5 - d, 1e-9);
  EXPECT_NEAR(mustHit(blob, {{-5, 0, 0}, {1, 0, 0}}).t, 4 - d, 1e-9);
  EXPECT_NEAR(mustHit(blob, {{5, 0, 0}, {-2, 0, 0}}).t, (4 - d) / 2, 1e-9);
  const SurfaceHit end = mustHit(blob, {{1.2, 5, 0}, {0, -1, 0}});
  EXPECT_NEAR(end.t, 5 - std::sqrt(0.5 - 0.04), 1e-9);
  expectNear(normalized(end.normal), normalized(Vec3{0.2, std::sqrt(0.46), 0}), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(FastAndSturm, BlobSolvers, ::testing::Values(false, true));

TEST(Bounds, ShapesFitInsideTheirBounds) {
  const Cone cone({1, 1, 1}, 1, {3, 2, 0}, 0.5);
  const Torus torus({0, 0, 0}, {1, 1, 0}, 2, 0.5);
  const Disc disc({0, 0, 0}, {0, 0, 1}, 0, 2);
  const Superquadric superquadric(0.3, 2.5);
  Blob blob;
  blob.addSphere({1, 0, 0}, 1, 2);
  blob.addCylinder({0, 0, 0}, {0, 1, 1}, 0.5, 1);
  for (const Shape* shape : std::initializer_list<const Shape*>{&cone, &torus, &disc, &superquadric, &blob}) {
    const Bounds b = shape->bounds();
    // Rays from far away aimed at many points; every hit must lie within the bounds.
    for (int i = 0; i < 200; ++i) {
      const Vec3 from{std::sin(i * 1.7) * 20, std::cos(i * 2.3) * 20, std::sin(i * 0.7 + 1) * 20};
      SurfaceHit hit;
      const Ray ray{from,
                    normalized((b.lower + b.upper) * 0.5 - from + Vec3{std::sin(i * 3.1), 0, std::cos(i)})};
      if (!shape->intersect(ray, 0, kInf, hit)) continue;
      const Vec3 p = ray.at(hit.t);
      for (int a = 0; a < 3; ++a) {
        EXPECT_GE(p[a], b.lower[a] - 1e-9);
        EXPECT_LE(p[a], b.upper[a] + 1e-9);
      }
    }
  }
}

}  // namespace
}  // namespace lumetra::renderlib
