// ImageMagick reads every file the writers make with the pixels they were given.
#include <gtest/gtest.h>

#include "image/image_writer.h"
#include "image/testing/image_magick_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::image {
namespace {

constexpr int32_t kWidth = 29;
constexpr int32_t kHeight = 13;

struct Case {
  const char* name;
  int outputChoice;
  bool alpha;  // whether ImageMagick sees the alpha the file carries
  // ImageMagick hands TGA rows over in file order and only notes their orientation.
  const char* readOptions;
};

const Case kCases[] = {
    {"bmp", 1, true, ""},
    {"dib", 2, true, ""},
    {"png", 3, true, ""},
    {"ppm", 4, false, ""},
    {"tga", 5, true, "-auto-orient"},
    {"tgaRle", 6, true, "-auto-orient"},
    {"tiff", 7, true, ""},
};

class ImageMagickReadsOursTest : public ::testing::TestWithParam<Case> {};

TEST_P(ImageMagickReadsOursTest, WithIdenticalPixels) {
  if (!image::testing::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const Case& test = GetParam();
  // The test picture as top-down RGBA, turned into the bottom-up BGRA of the image buffer.
  const std::vector<uint8_t> rgba = image::testing::TestPictureRgba(kWidth, kHeight, true);
  std::vector<uint8_t> buffer(rgba.size());
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint8_t* source = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
      uint8_t* target = &buffer[(static_cast<size_t>(kHeight - 1 - y) * kWidth + x) * 4];
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      target[3] = source[3];
    }
  }
  platform::ScratchDirectory scratch;
  const std::string base = (scratch / "out").string();
  std::string error;
  ASSERT_TRUE(WriteOutputFile({buffer, kWidth, kHeight}, test.outputChoice, base, &error)) << error;
  const std::string path = base + ExtensionOf(FormatForOutputChoice(test.outputChoice));
  const std::vector<uint8_t> seen = image::testing::ImageMagickRgba(path, test.readOptions);
  ASSERT_EQ(seen.size(), rgba.size()) << "ImageMagick could not read " << path;
  int mismatches = 0;
  for (size_t i = 0; i < rgba.size(); ++i) {
    const uint8_t want = (i % 4 == 3 && !test.alpha) ? 255 : rgba[i];
    if (seen[i] != want && ++mismatches < 5) {
      ADD_FAILURE() << "byte " << i << " (pixel " << i / 4 << "): " << int{seen[i]} << " != " << int{want};
    }
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageMagickReadsOursTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace lumetra::image
