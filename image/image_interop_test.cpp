// Files written by ImageMagick, in every format and variant the readers know, read
// back with the pixels they were made from.
#include <gtest/gtest.h>

#include "image/image_loader.h"
#include "image/testing/image_magick_test_support.h"
#include "image/testing/image_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::image {
namespace {

constexpr int kWidth = 37;
constexpr int kHeight = 23;

// What the pixels read are compared with.
enum class Expected {
  kSource,  // the picture the file was made from
  // ImageMagick's own reading of the file, turned upright by its orientation: its TGA
  // writer stores rows top first but marks them as starting at the bottom.
  kImageMagickUpright,
  kImageMagickLossy,  // the same, within a few steps per channel
};

struct Variant {
  const char* name;
  const char* options;  // convert options before the output file
  const char* output;   // output file name, with an optional format prefix
  const char* format;   // the reader expected to take it
  bool alpha;
  Expected expected = Expected::kSource;
};

const Variant kVariants[] = {
    {"bmp24", "-type TrueColor", "BMP3:x.bmp", "BMP", false},
    {"bmp8Rle", "-type Palette", "BMP3:x.bmp", "BMP", false},
    {"bmp8", "-type Palette -compress None", "BMP3:x.bmp", "BMP", false},
    {"bmp32", "-type TrueColorAlpha", "BMP:x.bmp", "BMP", true},
    {"gif", "", "x.gif", "GIF", false},
    {"gifInterlaced", "-interlace GIF", "x.gif", "GIF", false},
    {"tga", "-type TrueColor -compress None", "x.tga", "TGA", false, Expected::kImageMagickUpright},
    {"tgaTopDown", "-orient TopLeft -type TrueColor -compress None", "x.tga", "TGA", false},
    {"tgaRle", "-type TrueColor -compress RLE", "x.tga", "TGA", false, Expected::kImageMagickUpright},
    {"tgaAlphaRle", "-type TrueColorAlpha -compress RLE", "x.tga", "TGA", true,
     Expected::kImageMagickUpright},
    {"tgaColourMapped", "-type Palette -compress None", "x.tga", "TGA", false, Expected::kImageMagickUpright},
    {"png8", "", "PNG24:x.png", "PNG", false},
    {"png8Alpha", "", "PNG32:x.png", "PNG", true},
    {"png16", "-depth 16", "PNG48:x.png", "PNG", false},
    {"png16Alpha", "-depth 16", "PNG64:x.png", "PNG", true},
    {"pngPalette", "", "PNG8:x.png", "PNG", false},
    {"pngInterlaced", "-interlace PNG", "PNG24:x.png", "PNG", false},
    {"tiff", "-type TrueColor -compress None", "x.tif", "TIFF", false},
    {"tiffDeflate", "-type TrueColor -compress Zip", "x.tif", "TIFF", false},
    {"tiffAlpha", "-type TrueColorAlpha -compress Zip", "x.tif", "TIFF", true},
    {"jpeg", "-quality 95", "x.jpg", "JPEG", false, Expected::kImageMagickLossy},
    {"jpegGrey", "-colorspace Gray", "x.jpg", "JPEG", false, Expected::kImageMagickLossy},
};

class ImageMagickFilesTest : public ::testing::TestWithParam<Variant> {};

TEST_P(ImageMagickFilesTest, ReadBackWithTheRightPixels) {
  if (!testing::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const Variant& variant = GetParam();
  platform::ScratchDirectory scratch;
  const std::vector<uint8_t> source = testing::TestPictureRgba(kWidth, kHeight, variant.alpha);
  testing::WriteAll(scratch / "source.rgba", source);
  const std::string output = variant.output;
  const size_t colon = output.find(':');
  const std::string fileName = colon == std::string::npos ? output : output.substr(colon + 1);
  const std::string target = colon == std::string::npos ? "" : output.substr(0, colon + 1);
  ASSERT_TRUE(testing::RunConvert("-size " + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
                                  " -depth 8 'rgba:" + (scratch / "source.rgba").string() + "' " +
                                  variant.options + " '" + target + (scratch / fileName).string() + "'"));

  const std::vector<uint8_t> expected = variant.expected == Expected::kSource
                                            ? source
                                            : testing::ImageMagickRgba(scratch / fileName, "-auto-orient");
  ASSERT_EQ(expected.size(), source.size());
  if (variant.expected == Expected::kImageMagickUpright) {
    EXPECT_NE(expected, source) << "ImageMagick now writes its TGA rows upright: compare with the source";
  }

  Image image;
  const LoadReport report = testing::LoadFile(scratch / fileName, image);
  ASSERT_EQ(report.error, "");
  EXPECT_EQ(report.format, variant.format);
  ASSERT_EQ(image.Width(), kWidth);
  ASSERT_EQ(image.Height(), kHeight);
  EXPECT_EQ(image.HasAlpha(), variant.alpha);
  const int tolerance = variant.expected == Expected::kImageMagickLossy ? 3 : 0;
  int mismatches = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto bgra = testing::TopDownBgra(image, x, y);
      const uint8_t* want = &expected[(static_cast<size_t>(y) * kWidth + x) * 4];
      const int got[4] = {bgra[2], bgra[1], bgra[0], bgra[3]};
      for (int c = 0; c < 4; ++c) {
        if (std::abs(got[c] - want[c]) > tolerance && ++mismatches < 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << c << ": " << got[c]
                        << " != " << int{want[c]};
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageMagickFilesTest, ::testing::ValuesIn(kVariants),
                         [](const ::testing::TestParamInfo<Variant>& info) { return info.param.name; });

}  // namespace
}  // namespace lumetra::image
