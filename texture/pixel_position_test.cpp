#include "texture/pixel_position.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumetra::texture {
namespace {

image::Image Sized(int32_t width, int32_t height, int32_t layout) {
  image::Image image;
  image.Allocate(width, height, 1, {});
  image.layoutFlags = layout;
  return image;
}

TEST(PixelPositionTest, OnceRefusesPointsOutsideAndRepetitionWrapsThem) {
  const image::Image image = Sized(10, 4, 0);
  int32_t x = -1, y = -1;
  EXPECT_FALSE(PixelPosition(image, 1.2f, 0.5f, true, x, y));
  EXPECT_FALSE(PixelPosition(image, 0.5f, -0.1f, true, x, y));
  ASSERT_TRUE(PixelPosition(image, 1.2f, 0.5f, false, x, y));
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 2);
  ASSERT_TRUE(PixelPosition(image, -0.25f, -1.75f, false, x, y));
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 1);
}

TEST(PixelPositionTest, EdgesClampToTheLastPixel) {
  const image::Image image = Sized(10, 4, 0);
  int32_t x = -1, y = -1;
  ASSERT_TRUE(PixelPosition(image, 1.0f, 1.0f, true, x, y));
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 3);
  ASSERT_TRUE(PixelPosition(image, 0.0f, 0.0f, true, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(PixelPositionTest, BottomUpRowsAreMirrored) {
  const image::Image image = Sized(10, 4, image::kRowsBottomUp);
  int32_t x = -1, y = -1;
  ASSERT_TRUE(PixelPosition(image, 0.0f, 0.0f, true, x, y));
  EXPECT_EQ(y, 3);
  ASSERT_TRUE(PixelPosition(image, 0.0f, 0.6f, true, x, y));
  EXPECT_EQ(y, 1);
  ASSERT_TRUE(PixelPosition(image, 0.0f, 1.0f, true, x, y));
  EXPECT_EQ(y, 0);
}

TEST(PixelPositionTest, NonFiniteCoordinatesAreOutside) {
  const image::Image image = Sized(10, 4, 0);
  int32_t x = 0, y = 0;
  EXPECT_FALSE(PixelPosition(image, std::numeric_limits<float>::quiet_NaN(), 0.5f, false, x, y));
  EXPECT_FALSE(PixelPosition(image, 0.5f, std::numeric_limits<float>::infinity(), false, x, y));
}

}  // namespace
}  // namespace lumetra::texture
