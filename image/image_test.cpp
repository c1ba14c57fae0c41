#include "image/image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/image_load_exception.h"

namespace lumetra::image {
namespace {

Image OnePixel(int32_t bytesPerPixel, int32_t kind, std::initializer_list<uint8_t> bytes) {
  Image image;
  image.Allocate(1, 1, bytesPerPixel, {});
  image.pixelKind = kind;
  std::memcpy(image.Row(0), bytes.begin(), bytes.size());
  return image;
}

TEST(ImageTest, PackedColoursOfEverySizeScaleToUnitRange) {
  const math::Colour bgr = OnePixel(3, kPackedColour, {255, 0, 51}).Colour(0, 0);
  EXPECT_FLOAT_EQ(bgr.blue, 1.0f);
  EXPECT_FLOAT_EQ(bgr.green, 0.0f);
  EXPECT_NEAR(bgr.red, 0.2f, 1e-6);
  EXPECT_EQ(bgr.filter, 0.0f);

  const math::Colour bgra = OnePixel(4, kPackedColourAlpha, {0, 0, 0, 51}).Colour(0, 0);
  EXPECT_NEAR(bgra.filter, 0.8f, 1e-6);
  EXPECT_EQ(bgra.transmit, 0.0f);

  // 5-5-5: blue 31, green 1, red 16, bit 15 set.
  const uint16_t packed = 0x8000 | 16 << 10 | 1 << 5 | 31;
  const math::Colour word = OnePixel(2, kPackedColourAlpha, {packed & 0xFF, packed >> 8}).Colour(0, 0);
  EXPECT_NEAR(word.blue, 248 / 255.0f, 1e-6);
  EXPECT_NEAR(word.green, 8 / 255.0f, 1e-6);
  EXPECT_NEAR(word.red, 128 / 255.0f, 1e-6);
  EXPECT_EQ(word.filter, 1.0f);

  const math::Colour deep =
      OnePixel(8, kPackedColourAlpha, {0xFF, 0xFF, 0, 0, 0xFF, 0x7F, 0xFF, 0xFF}).Colour(0, 0);
  EXPECT_FLOAT_EQ(deep.blue, 1.0f);
  EXPECT_EQ(deep.green, 0.0f);
  EXPECT_NEAR(deep.red, 0.5f, 1e-4);
  EXPECT_NEAR(deep.filter, 0.0f, 1e-6);
}

TEST(ImageTest, KindsWithoutAlphaAreOpaqueWhateverTheFourthByte) {
  const Image image = OnePixel(4, kPackedColour, {1, 2, 3, 0});
  EXPECT_EQ(image.Colour(0, 0).filter, 0.0f);
  EXPECT_EQ(image.Bgra(0, 0), (std::array<uint8_t, 4>{1, 2, 3, 255}));
}

TEST(ImageTest, PaletteIndexOutsideThePaletteReadsEntryZero) {
  Image image;
  image.Allocate(2, 1, 1, {});
  image.pixelKind = kPaletteIndex;
  image.SetPalette({10, 20, 30, 40, 50, 60});
  image.Row(0)[0] = 1;
  image.Row(0)[1] = 2;  // one past the last entry
  EXPECT_EQ(image.Bgra(0, 0), (std::array<uint8_t, 4>{40, 50, 60, 255}));
  EXPECT_EQ(image.Bgra(1, 0), (std::array<uint8_t, 4>{10, 20, 30, 255}));
  EXPECT_NEAR(image.Colour(1, 0).red, 30 / 255.0f, 1e-6);
}

TEST(ImageTest, FetchCombinesBytesMostSignificantFirst) {
  EXPECT_EQ(OnePixel(3, kPackedColour, {0x12, 0x34, 0x56}).Fetch(0, 0), 0x123456u);
}

TEST(ImageTest, SizesBeyondTheLimitsAreRefusedBeforeAllocating) {
  Image image;
  const ImageLimits limits{1000, 10000};
  EXPECT_THROW(image.Allocate(1001, 1, 4, limits), ImgLoadException);
  EXPECT_THROW(image.Allocate(200, 200, 4, limits), ImgLoadException);
  EXPECT_THROW(image.Allocate(0, 5, 4, limits), ImgLoadException);
  EXPECT_THROW(image.Allocate(5, 5, 5, limits), ImgLoadException);
  EXPECT_THROW(image.Allocate(65536, 65536, 8, ImageLimits{}), ImgLoadException);
  image.Allocate(100, 100, 4, limits);
  EXPECT_EQ(image.Width(), 100);
  EXPECT_EQ(image.bitsPerPixel, 32);
}

TEST(ImageTest, EmptyAlphaBecomesOpaqueButAnyUsedAlphaIsKept) {
  Image empty;
  empty.Allocate(2, 1, 4, {});
  empty.TreatEmptyAlphaAsOpaque();
  EXPECT_EQ(empty.pixelKind, kPackedColour);
  EXPECT_EQ(empty.Bgra(1, 0)[3], 255);

  Image used;
  used.Allocate(2, 1, 4, {});
  used.Row(0)[7] = 9;
  used.TreatEmptyAlphaAsOpaque();
  EXPECT_EQ(used.pixelKind, kPackedColourAlpha);
  EXPECT_EQ(used.Bgra(0, 0)[3], 0);
  EXPECT_EQ(used.Bgra(1, 0)[3], 9);
}

}  // namespace
}  // namespace lumetra::image
