#include "texture/map_point.h"

#include <gtest/gtest.h>

namespace lumetra::texture {
namespace {

TEST(MapPointTest, PlanarTakesXAndY) {
  float u = 0, v = 0;
  ASSERT_TRUE(MapPoint(kMapPlanar, {0.25, -3.5, 9.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(v, -3.5f);
}

TEST(MapPointTest, SphericalMapsLongitudeAndLatitudeAndRefusesTheOrigin) {
  float u = 0, v = 0;
  ASSERT_TRUE(MapPoint(kMapSpherical, {2.0, 0.0, 0.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.5f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  ASSERT_TRUE(MapPoint(kMapSpherical, {0.0, 1.0, 0.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.75f);
  ASSERT_TRUE(MapPoint(kMapSpherical, {0.0, 0.0, 5.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(v, 1.0f);
  EXPECT_FALSE(MapPoint(kMapSpherical, {0.0, 0.0, 0.0}, 0, 0, u, v));
  EXPECT_FALSE(MapPoint(kMapSpherical, {1e-21, 0.0, 0.0}, 0, 0, u, v));
}

TEST(MapPointTest, CylindricalKeepsHeight) {
  float u = 0, v = 0;
  ASSERT_TRUE(MapPoint(kMapCylindrical, {0.0, -1.0, 7.5}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(v, 7.5f);
}

TEST(MapPointTest, TorusAnglesAroundTheRingAndTheTube) {
  float u = 0, v = 0;
  // Towards -y, outside the tube centre: ring angle 0, half way round the tube.
  ASSERT_TRUE(MapPoint(kMapTorus, {0.0, -1.5, 0.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.0f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  ASSERT_TRUE(MapPoint(kMapTorus, {0.0, 1.5, 0.0}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.5f);
  ASSERT_TRUE(MapPoint(kMapTorus, {0.0, 0.0, -1.5}, 0, 0, u, v));
  EXPECT_FLOAT_EQ(u, 0.75f);
  ASSERT_TRUE(MapPoint(kMapTorus, {0.5, 0.0, 1.0}, 0, 0, u, v));  // above the tube centre
  EXPECT_FLOAT_EQ(v, 0.75f);
  ASSERT_TRUE(MapPoint(kMapTorus, {0.0, 0.0, 0.5}, 0, 0, u, v));  // inside the ring
  EXPECT_FLOAT_EQ(v, 0.0f);
  EXPECT_FALSE(MapPoint(kMapTorus, {3.0, 0.0, 0.0}, 0, 0, u, v));
  EXPECT_FALSE(MapPoint(kMapTorus, {0.0, 0.0, 1.0}, 0, 0, u, v));  // on the tube centre line
}

TEST(MapPointTest, SurfaceTypesUseTheSurfaceCoordinatesAndUnknownTypesFail) {
  for (int type : {kMapSurfaceA, kMapSurfaceB, kMapSurfaceC}) {
    float u = 0, v = 0;
    ASSERT_TRUE(MapPoint(type, {9, 9, 9}, 0.125, 0.625, u, v));
    EXPECT_FLOAT_EQ(u, 0.125f);
    EXPECT_FLOAT_EQ(v, 0.625f);
  }
  float u = 0, v = 0;
  EXPECT_FALSE(MapPoint(7, {1, 1, 1}, 0, 0, u, v));
}

}  // namespace
}  // namespace lumetra::texture
