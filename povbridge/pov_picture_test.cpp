#include "povbridge/pov_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>

#include "image/image_writer.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::povbridge {
namespace {

constexpr uint8_t kUntouched = 0x11;

// Blue, green, red, alpha of picture pixel (x, y) from the top left: no two alike.
std::array<uint8_t, 4> Colour(int32_t x, int32_t y) {
  return {static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 50), static_cast<uint8_t>(100 + x + 10 * y),
          255};
}

std::string WritePng(const platform::ScratchDirectory& directory, int32_t width, int32_t height) {
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 4);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const auto colour = Colour(x, y);
      std::copy(colour.begin(), colour.end(), &bytes[(static_cast<size_t>(height - 1 - y) * width + x) * 4]);
    }
  }
  const std::string path = (directory.Path() / "pov.png").string();
  image::WriteImageFile({bytes, width, height}, image::ImageFileFormat::kPng, path);
  return path;
}

// A job image with guard bytes behind it, all kUntouched.
struct JobImage {
  JobImage(int32_t width, int32_t height)
      : width(width), height(height), bytes(static_cast<size_t>(width) * height * 4 + 64, kUntouched) {}
  std::span<uint8_t> Pixels() { return std::span(bytes).first(bytes.size() - 64); }
  std::array<uint8_t, 4> At(int32_t x, int32_t y) const {
    const uint8_t* pixel = &bytes[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
  }
  bool GuardIntact() const {
    return std::all_of(bytes.end() - 64, bytes.end(), [](uint8_t b) { return b == kUntouched; });
  }
  int32_t width;
  int32_t height;
  std::vector<uint8_t> bytes;
};

// Copies a picture of `pictureWidth` x `pictureHeight` into a job image of `width` x
// `height` and expects the picture's pixels where it covers the image and the untouched
// fill elsewhere, guard bytes included.
void ExpectCopied(int32_t pictureWidth, int32_t pictureHeight, int32_t width, int32_t height) {
  SCOPED_TRACE(std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight) + " into " +
               std::to_string(width) + "x" + std::to_string(height));
  const platform::ScratchDirectory directory;
  JobImage job(width, height);
  const PovPictureCopy copy =
      CopyPovPicture(WritePng(directory, pictureWidth, pictureHeight), job.Pixels(), width, height);
  ASSERT_TRUE(copy.Ok()) << copy.error;
  const int32_t coveredWidth = std::min(width, pictureWidth);
  const int32_t coveredHeight = std::min(height, pictureHeight);
  EXPECT_EQ(copy.width, coveredWidth);
  EXPECT_EQ(copy.height, coveredHeight);
  const std::array<uint8_t, 4> untouched{kUntouched, kUntouched, kUntouched, kUntouched};
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      EXPECT_EQ(job.At(x, y), x < coveredWidth && y < coveredHeight ? Colour(x, y) : untouched)
          << x << "," << y;
    }
  }
  EXPECT_TRUE(job.GuardIntact());
}

TEST(PovPicture, CopiesTheWholePictureBottomRowFirstWhenTheSizesAgree) { ExpectCopied(5, 3, 5, 3); }

TEST(PovPicture, ClipsALargerPictureAndFillsOnlyWhatASmallerOneCovers) {
  ExpectCopied(9, 7, 4, 3);
  ExpectCopied(2, 2, 4, 3);
  ExpectCopied(6, 2, 4, 3);
}

TEST(PovPicture, CopiesWhatPovRayItselfWrote) {
  // povray +W64 +H48 of testdata/povray-sphere.pov: a red sphere in the middle of black.
  JobImage job(64, 48);
  const PovPictureCopy copy = CopyPovPicture(
      std::string(LUMETRA_POV_TESTDATA) + "/povray-3.7-sphere-64x48.png", job.Pixels(), 64, 48);
  ASSERT_TRUE(copy.Ok()) << copy.error;
  const auto middle = job.At(32, 24);
  EXPECT_GT(middle[2], 100);
  EXPECT_GT(middle[2], middle[1] * 2);
  EXPECT_EQ(job.At(0, 0), (std::array<uint8_t, 4>{0, 0, 0, 255}));
  EXPECT_TRUE(job.GuardIntact());
}

TEST(PovPicture, BadFilesAndSizesGiveAnErrorAndChangeNothing) {
  const platform::ScratchDirectory directory;
  const std::string garbage = (directory.Path() / "garbage.png").string();
  std::ofstream(garbage) << "\x89PNG\r\n\x1a\n but nothing a reader can use";
  const std::string missing = (directory.Path() / "missing.png").string();
  const std::string good = WritePng(directory, 4, 3);

  JobImage job(4, 3);
  const std::vector<uint8_t> before = job.bytes;
  for (const std::string& file : {garbage, missing}) {
    const PovPictureCopy copy = CopyPovPicture(file, job.Pixels(), 4, 3);
    EXPECT_FALSE(copy.Ok()) << file;
    EXPECT_NE(copy.error.find(file.substr(file.rfind('/') + 1)), std::string::npos) << copy.error;
  }
  EXPECT_FALSE(CopyPovPicture(good, job.Pixels().first(4 * 3 * 4 - 1), 4, 3).Ok());
  EXPECT_FALSE(CopyPovPicture(good, job.Pixels(), 0, 3).Ok());
  EXPECT_FALSE(CopyPovPicture(good, job.Pixels(), 4, -1).Ok());
  EXPECT_EQ(job.bytes, before);
}

}  // namespace
}  // namespace lumetra::povbridge
