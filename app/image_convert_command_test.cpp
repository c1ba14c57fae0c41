#include "app/image_convert_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "image/image_loader.h"
#include "image/image_writer.h"
#include "image/testing/image_magick_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Convert(const std::filesystem::path& in, const std::filesystem::path& out, bool rle = false) {
  std::ostringstream stdoutText, stderrText;
  const int exitCode = app::RunImageConvert(in.string(), out.string(), rle, stdoutText, stderrText);
  return {exitCode, stdoutText.str(), stderrText.str()};
}

class ImageConvertCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    // Bottom-up BGRA, 3 x 2, with a different alpha in every pixel.
    for (uint8_t i = 0; i < 6; ++i)
      pixels_.insert(pixels_.end(), {i, uint8_t(i * 10), uint8_t(i * 20), uint8_t(100 + i)});
    image::WriteImageFile({pixels_, 3, 2}, image::ImageFileFormat::kTiff, (scratch_ / "in.tif").string());
  }

  platform::ScratchDirectory scratch_;
  std::vector<uint8_t> pixels_;
};

TEST_F(ImageConvertCommand, KeepsColoursAndAlphaAcrossFormats) {
  for (const char* name : {"out.png", "out.bmp", "out.tga"}) {
    const Outcome outcome = Convert(scratch_ / "in.tif", scratch_ / name);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("3 x 2, from TIFF"), std::string::npos) << outcome.out;
    image::Image image;
    ASSERT_EQ(image::LoadImage(image, (scratch_ / name).string()), 1) << name;
    for (int32_t i = 0; i < 6; ++i) {
      const int32_t x = i % 3;
      const int32_t yFromTop = 1 - i / 3;
      const auto bgra = image.Bgra(x, image.StoredRowOfTopRow(yFromTop));
      EXPECT_TRUE(std::equal(bgra.begin(), bgra.end(), pixels_.begin() + i * 4)) << name << " pixel " << i;
    }
  }
}

TEST_F(ImageConvertCommand, OpaqueSourcesBecomeOpaqueAndRleIsChosenByFlag) {
  ASSERT_EQ(Convert(scratch_ / "in.tif", scratch_ / "rgb.ppm").exitCode, 0);
  ASSERT_EQ(Convert(scratch_ / "rgb.ppm", scratch_ / "x.png").exitCode, 1) << "PPM is written, not read";
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0,    1,    0, 0x80, 0,
                                    0,   9,   8,   7,   0,   0,   0, 0x2C, 0,    0, 0,    0,
                                    1,   0,   1,   0,   0,   2,   2, 0x44, 0x01, 0, 0x3B};
  image::testing::WriteAll(scratch_ / "one.gif", gif);
  ASSERT_EQ(Convert(scratch_ / "one.gif", scratch_ / "one.tga", true).exitCode, 0);
  const std::vector<uint8_t> tga = image::testing::ReadAll(scratch_ / "one.tga");
  ASSERT_EQ(tga.size(), 18u + 5u);
  EXPECT_EQ(tga[2], 10);
  EXPECT_EQ((std::vector<uint8_t>(tga.begin() + 18, tga.end())), (std::vector<uint8_t>{0x00, 7, 8, 9, 255}));
}

TEST_F(ImageConvertCommand, RefusesUnknownOutputsAndKeepsExistingFiles) {
  const Outcome unknown = Convert(scratch_ / "in.tif", scratch_ / "out.jpg");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown output format"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "out.jpg"));

  image::testing::WriteAll(scratch_ / "keep.png", {1, 2, 3});
  image::testing::WriteAll(scratch_ / "bad.gif", {'G', 'I', 'F', '8', '9', 'a', 1});
  const Outcome bad = Convert(scratch_ / "bad.gif", scratch_ / "keep.png");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("bad.gif: Bad Logical Screen Descriptor"), std::string::npos) << bad.err;
  EXPECT_EQ(image::testing::ReadAll(scratch_ / "keep.png"), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace lumetra
