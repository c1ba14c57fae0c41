// The image pigment, the bump-map normal and the material map on small images.
#include <gtest/gtest.h>

#include <cstring>

#include "texture/image_bump_normal.h"
#include "texture/image_material_map.h"
#include "texture/image_pigment.h"
#include "texture/layered_texture.h"
#include "texture/standard_texture.h"

namespace lumetra::texture {
namespace {

// A 2 x 2 BGR image: top row black, white; bottom row red, blue.
image::Image Checker() {
  image::Image image;
  image.Allocate(2, 2, 3, {});
  const uint8_t top[6] = {0, 0, 0, 255, 255, 255};
  const uint8_t bottom[6] = {0, 0, 255, 255, 0, 0};
  std::memcpy(image.Row(0), top, 6);
  std::memcpy(image.Row(1), bottom, 6);
  return image;
}

ShadingPoint At(double x, double y, double z = 0.0) {
  ShadingPoint point{};
  point.point[0] = x;
  point.point[1] = y;
  point.point[2] = z;
  point.normal[2] = 1.0;
  return point;
}

SurfaceSample Untouched() {
  SurfaceSample sample{};
  sample.color[0] = sample.color[1] = sample.color[2] = 0.5f;
  return sample;
}

BitmapModifiers Planar(bool once = false) {
  BitmapModifiers modifiers;
  modifiers.mapType = 0;
  modifiers.once = once;
  return modifiers;
}

TEST(ImagePigmentTest, NearestPixelWhiteOutsideAndNothingWhereUnmapped) {
  const image::Image image = Checker();
  SurfaceSample sample = Untouched();
  ShadingPoint point = At(0.75, 0.75);
  ImagePigment(&image, Planar()).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[2], 1.0f);  // bottom right: blue
  EXPECT_FLOAT_EQ(sample.color[0], 0.0f);
  EXPECT_FLOAT_EQ(sample.color[3], 1.0f);

  point = At(1.2, 0.25);  // repeats: u 0.2 is the left column
  ImagePigment(&image, Planar()).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[0], 0.0f);
  EXPECT_FLOAT_EQ(sample.color[2], 0.0f);

  point = At(1.2, 0.25);
  ImagePigment(&image, Planar(true)).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[0], 1.0f);
  EXPECT_FLOAT_EQ(sample.color[1], 1.0f);

  BitmapModifiers spherical;
  spherical.mapType = 1;
  sample = Untouched();
  point = At(0.0, 0.0);
  ImagePigment(&image, spherical).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[0], 0.5f);
}

TEST(ImagePigmentTest, BilinearOnlyWithTheFlagAndSetting) {
  const image::Image image = Checker();
  BitmapModifiers modifiers = Planar();
  modifiers.interpolate = true;
  modifiers.interpolation = 2;
  SurfaceSample sample = Untouched();
  ShadingPoint point = At(0.25, 0.25);  // pixel (0, 0) at its centre: half way to each neighbour
  ImagePigment(&image, modifiers).Eval(point, sample);
  // Mean of black, white, red, blue.
  EXPECT_NEAR(sample.color[0], 0.5f, 1e-5);
  EXPECT_NEAR(sample.color[1], 0.25f, 1e-5);
  EXPECT_NEAR(sample.color[2], 0.5f, 1e-5);
  modifiers.interpolation = 3;
  ImagePigment(&image, modifiers).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[0], 0.0f);
}

TEST(ImagePigmentTest, ImageAlphaBecomesFilter) {
  image::Image image;
  image.Allocate(1, 1, 4, {});
  image.pixelKind = image::kPackedColourAlpha;
  const uint8_t pixel[4] = {0, 0, 200, 0};
  std::memcpy(image.Row(0), pixel, 4);
  SurfaceSample sample = Untouched();
  ShadingPoint point = At(0.5, 0.5);
  ImagePigment(&image, Planar()).Eval(point, sample);
  EXPECT_FLOAT_EQ(sample.color[3], 0.0f);  // filter 1: fully see-through
  EXPECT_TRUE(ImagePigment(&image, Planar()).LetsLightThrough());
  const image::Image opaque = Checker();
  EXPECT_FALSE(ImagePigment(&opaque, Planar()).LetsLightThrough());
}

// Only the surface map types read the record's (u, v); the textures holding an image say so.
TEST(ImagePigmentTest, OnlySurfaceMappedImagesReadTheSurfaceCoordinates) {
  const image::Image image = Checker();
  BitmapModifiers surface = Planar();
  EXPECT_FALSE(ImagePigment(&image, surface).ReadsSurfaceCoordinates());
  EXPECT_FALSE(BumpMapNormal(&image, surface).ReadsSurfaceCoordinates());
  for (const int mapType : {kMapSurfaceA, kMapSurfaceB, kMapSurfaceC}) {
    surface.mapType = mapType;
    EXPECT_TRUE(ImagePigment(&image, surface).ReadsSurfaceCoordinates()) << mapType;
  }
  StandardTexture texture;
  texture.pigment = std::make_unique<ImagePigment>(&image, Planar());
  EXPECT_FALSE(texture.ReadsSurfaceCoordinates());
  texture.normal = std::make_unique<BumpMapNormal>(&image, surface);
  EXPECT_TRUE(texture.ReadsSurfaceCoordinates());
  LayeredTexture layers;
  layers.layers.emplace_back(std::make_unique<StandardTexture>());
  EXPECT_FALSE(layers.ReadsSurfaceCoordinates());
  layers.layers.emplace_back(texture.Clone());
  EXPECT_TRUE(layers.ReadsSurfaceCoordinates());
  EXPECT_TRUE(MaterialMap(&image, Planar()).ReadsSurfaceCoordinates());  // it cannot tell
}

TEST(BumpMapNormalTest, FlatImagesLeaveTheNormalAndSlopesTiltIt) {
  image::Image flat;
  flat.Allocate(2, 2, 1, {});
  flat.pixelKind = image::kSingleByte;
  SurfaceSample sample{};
  ShadingPoint point = At(0.25, 0.25);
  point.normal[2] = 0.0;
  point.normal[1] = 1.0;  // along y: the degenerate frame
  BumpMapNormal(&flat, Planar()).Eval(point, sample);
  EXPECT_EQ(point.normal[1], 1.0);

  image::Image slope = Checker();
  BumpMapNormal bump(&slope, Planar());
  bump.bumpAmount = 2.0f;
  point = At(0.25, 0.25);
  bump.Eval(point, sample);
  const double length = std::sqrt(point.normal[0] * point.normal[0] + point.normal[1] * point.normal[1] +
                                  point.normal[2] * point.normal[2]);
  EXPECT_NEAR(length, 1.0, 1e-12);
  EXPECT_LT(point.normal[2], 0.9);

  point = At(0.25, 0.25);
  point.normal[2] = 0.0;
  point.normal[1] = 1.0;
  bump.Eval(point, sample);
  EXPECT_LT(point.normal[1], 0.9) << "the fixed frame still tilts";
}

// A 2 x 3 grey picture with rows of distinct shades, stored top row first or, flagged,
// bottom row first.
image::Image Shades(bool bottomUp) {
  const uint8_t rows[3][6] = {
      {0, 0, 0, 40, 40, 40}, {100, 100, 100, 160, 160, 160}, {220, 220, 220, 250, 250, 250}};
  image::Image image;
  image.Allocate(2, 3, 3, {});
  for (int32_t y = 0; y < 3; ++y) std::memcpy(image.Row(bottomUp ? 2 - y : y), rows[y], 6);
  if (bottomUp) image.layoutFlags |= image::kRowsBottomUp;
  return image;
}

TEST(ImageRowOrderTest, BottomUpFilesFilterAndBumpAsTheSamePictureStoredTopFirst) {
  const image::Image topFirst = Shades(false), bottomFirst = Shades(true);
  BitmapModifiers modifiers = Planar();
  modifiers.interpolate = true;
  modifiers.interpolation = 2;
  for (const auto& [x, y] : {std::pair{0.3, 0.1}, {0.6, 0.45}, {0.2, 0.8}, {0.9, 0.95}}) {
    SurfaceSample a = Untouched(), b = Untouched();
    ShadingPoint pa = At(x, y), pb = At(x, y);
    ImagePigment(&topFirst, modifiers).Eval(pa, a);
    ImagePigment(&bottomFirst, modifiers).Eval(pb, b);
    EXPECT_FLOAT_EQ(a.color[0], b.color[0]) << x << " " << y;
    BumpMapNormal topBump(&topFirst, Planar()), bottomBump(&bottomFirst, Planar());
    topBump.bumpAmount = bottomBump.bumpAmount = 1.0f;
    pa = At(x, y);
    pb = At(x, y);
    topBump.Eval(pa, a);
    bottomBump.Eval(pb, b);
    for (int axis = 0; axis < 3; ++axis) EXPECT_DOUBLE_EQ(pa.normal[axis], pb.normal[axis]) << x << " " << y;
  }
}

TEST(BumpMapNormalTest, PaletteIndexIntensity) {
  image::Image indices;
  indices.Allocate(2, 1, 1, {});
  indices.pixelKind = image::kPaletteIndex;
  indices.SetPalette({0, 0, 0, 0, 0, 0});  // both entries black: only the index differs
  indices.Row(0)[1] = 255;
  BitmapModifiers modifiers = Planar();
  SurfaceSample sample{};
  ShadingPoint point = At(0.25, 0.5);
  BumpMapNormal(&indices, modifiers).Eval(point, sample);
  EXPECT_EQ(point.normal[2], 1.0) << "colours alone are flat";
  modifiers.useIndex = true;
  BumpMapNormal(&indices, modifiers).Eval(point, sample);
  EXPECT_LT(point.normal[2], 0.9);
}

class MarkTexture final : public Texture {
 public:
  explicit MarkTexture(float mark) : mark_(mark) {}
  void Shade(ShadingPoint&, SurfaceSample& sample) const override { sample.color[0] = mark_; }
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<MarkTexture>(*this); }

 private:
  float mark_;
};

TEST(MaterialMapTest, PixelValueModuloTextureCountPicksTheTexture) {
  image::Image indices;
  indices.Allocate(3, 1, 1, {});
  indices.pixelKind = image::kPaletteIndex;
  indices.Row(0)[0] = 0;
  indices.Row(0)[1] = 1;
  indices.Row(0)[2] = 5;
  MaterialMap map(&indices, Planar(true));
  map.AddTexture(std::make_unique<MarkTexture>(10.0f));
  map.AddTexture(std::make_unique<MarkTexture>(20.0f));
  const std::pair<double, float> cases[] = {{0.1, 10.0f}, {0.5, 20.0f}, {0.9, 20.0f}};
  for (const auto& [u, mark] : cases) {
    SurfaceSample sample{};
    ShadingPoint point = At(u, 0.5);
    map.Shade(point, sample);
    EXPECT_EQ(sample.color[0], mark) << u;
  }
  SurfaceSample sample{};
  ShadingPoint point = At(1.5, 0.5);
  map.Shade(point, sample);
  EXPECT_EQ(sample.color[0], 0.0f) << "outside a once-only image nothing is shaded";
  const std::unique_ptr<Texture> copy = map.Clone();
  point = At(0.5, 0.5);
  copy->Shade(point, sample);
  EXPECT_EQ(sample.color[0], 20.0f);
}

}  // namespace
}  // namespace lumetra::texture
