#include "image/image_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_loader.h"
#include "image/testing/image_magick_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::image {
namespace {

using image::testing::ReadAll;

// A bottom-up picture whose pixel (x, y from the top) encodes its position.
struct TestPicture {
  TestPicture(int32_t width, int32_t height, bool runs = false) : width(width), height(height) {
    bytes.resize(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        uint8_t* pixel = &bytes[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
        const int32_t key = runs ? x / 5 : x;  // runs of five equal pixels
        pixel[0] = static_cast<uint8_t>(key * 3);
        pixel[1] = static_cast<uint8_t>(y * 7);
        pixel[2] = static_cast<uint8_t>(key + y);
        pixel[3] = static_cast<uint8_t>(255 - key);
      }
    }
  }
  BgraPicture View() const { return {bytes, width, height}; }

  int32_t width;
  int32_t height;
  std::vector<uint8_t> bytes;
};

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Loads `path` back and checks every pixel against `picture`.
void ExpectReadsBack(const std::filesystem::path& path, const TestPicture& picture, bool alpha) {
  image::Image image;
  image::LoadReport report;
  ASSERT_EQ(image::LoadImage(image, path.string(), &report), 1) << report.error;
  ASSERT_EQ(image.Width(), picture.width);
  ASSERT_EQ(image.Height(), picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const auto got = image.Bgra(x, image.StoredRowOfTopRow(y));
      const uint8_t* want =
          &picture.bytes[(static_cast<size_t>(picture.height - 1 - y) * picture.width + x) * 4];
      ASSERT_EQ(got[0], want[0]) << x << "," << y;
      ASSERT_EQ(got[1], want[1]) << x << "," << y;
      ASSERT_EQ(got[2], want[2]) << x << "," << y;
      ASSERT_EQ(got[3], alpha ? want[3] : 255) << x << "," << y;
    }
  }
}

TEST(ImageWriterTest, OutputChoicesPickFormatAndExtension) {
  EXPECT_EQ(FormatForOutputChoice(1), ImageFileFormat::kBmp);
  EXPECT_EQ(FormatForOutputChoice(2), ImageFileFormat::kDib);
  EXPECT_EQ(FormatForOutputChoice(3), ImageFileFormat::kPng);
  EXPECT_EQ(FormatForOutputChoice(4), ImageFileFormat::kPpm);
  EXPECT_EQ(FormatForOutputChoice(5), ImageFileFormat::kTga);
  EXPECT_EQ(FormatForOutputChoice(7), ImageFileFormat::kTiff);
  for (int choice : {0, 6, 8, -1}) EXPECT_EQ(FormatForOutputChoice(choice), ImageFileFormat::kTgaRle);
  EXPECT_STREQ(ExtensionOf(ImageFileFormat::kDib), ".dib");
  EXPECT_STREQ(ExtensionOf(ImageFileFormat::kTgaRle), ".tga");
  EXPECT_STREQ(ExtensionOf(ImageFileFormat::kTiff), ".tif");
  EXPECT_EQ(FormatForFileName("a/b.TIFF", false), ImageFileFormat::kTiff);
  EXPECT_EQ(FormatForFileName("x.tga", true), ImageFileFormat::kTgaRle);
  EXPECT_EQ(FormatForFileName("x.Tga", false), ImageFileFormat::kTga);
  EXPECT_EQ(FormatForFileName("x.jpg", false), std::nullopt);
  EXPECT_EQ(FormatForFileName("noextension", false), std::nullopt);
}

TEST(ImageWriterTest, BmpIsHeaderThenTheBufferAsItIs) {
  platform::ScratchDirectory scratch;
  const TestPicture picture(3, 2);
  std::string error;
  ASSERT_TRUE(WriteOutputFile(picture.View(), 1, (scratch / "still").string(), &error)) << error;
  const std::vector<uint8_t> bytes = ReadAll(scratch / "still.bmp");
  ASSERT_EQ(bytes.size(), 54u + 24u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(U32At(bytes, 2), 78u);
  EXPECT_EQ(U32At(bytes, 10), 54u);
  EXPECT_EQ(U32At(bytes, 14), 40u);
  EXPECT_EQ(U32At(bytes, 18), 3u);
  EXPECT_EQ(U32At(bytes, 22), 2u);
  EXPECT_EQ(U32At(bytes, 26), 1u | 32u << 16);
  EXPECT_EQ(U32At(bytes, 30), 0u);
  EXPECT_EQ(U32At(bytes, 34), 24u);
  EXPECT_TRUE(std::equal(picture.bytes.begin(), picture.bytes.end(), bytes.begin() + 54));
  ASSERT_TRUE(WriteOutputFile(picture.View(), 2, (scratch / "still").string()));
  EXPECT_EQ(ReadAll(scratch / "still.dib"), bytes);
}

TEST(ImageWriterTest, PpmIsRgbTopRowFirst) {
  platform::ScratchDirectory scratch;
  const TestPicture picture(2, 2);
  ASSERT_TRUE(WriteOutputFile(picture.View(), 4, (scratch / "f").string()));
  const std::vector<uint8_t> bytes = ReadAll(scratch / "f.ppm");
  const std::string header = "P6\n2 2\n255\n";
  ASSERT_EQ(bytes.size(), header.size() + 12);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(header.size())), header);
  const uint8_t* top = &picture.bytes[8];  // stored row 1 is the top row
  EXPECT_EQ(bytes[header.size()], top[2]);
  EXPECT_EQ(bytes[header.size() + 1], top[1]);
  EXPECT_EQ(bytes[header.size() + 2], top[0]);
}

TEST(ImageWriterTest, TgaHeaderAndRowsBottomUp) {
  platform::ScratchDirectory scratch;
  const TestPicture picture(3, 2);
  ASSERT_TRUE(WriteOutputFile(picture.View(), 5, (scratch / "f").string()));
  const std::vector<uint8_t> bytes = ReadAll(scratch / "f.tga");
  const std::vector<uint8_t> header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0};
  ASSERT_EQ(bytes.size(), 18u + 24u);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_TRUE(std::equal(picture.bytes.begin(), picture.bytes.end(), bytes.begin() + 18));
  ExpectReadsBack(scratch / "f.tga", picture, true);
}

// Walks the packets of a run-length TGA and checks that none crosses a row.
void ExpectPacketsWithinRows(const std::vector<uint8_t>& bytes, int32_t width, int32_t height) {
  size_t at = 18;
  for (int32_t row = 0; row < height; ++row) {
    int32_t x = 0;
    while (x < width) {
      ASSERT_LT(at, bytes.size());
      const uint8_t packet = bytes[at++];
      const int32_t count = (packet & 0x7F) + 1;
      ASSERT_LE(x + count, width) << "packet crosses the end of row " << row;
      at += (packet & 0x80) != 0 ? 4 : static_cast<size_t>(count) * 4;
      x += count;
    }
  }
  EXPECT_EQ(at, bytes.size());
}

TEST(ImageWriterTest, RunLengthTgaPacketsStayWithinRowsAndRoundTrip) {
  platform::ScratchDirectory scratch;
  for (const TestPicture& picture : {TestPicture(1, 7), TestPicture(300, 4, true), TestPicture(300, 3)}) {
    const std::string base = (scratch / ("w" + std::to_string(picture.width))).string();
    ASSERT_TRUE(WriteOutputFile(picture.View(), 6, base));
    const std::vector<uint8_t> bytes = ReadAll(base + ".tga");
    EXPECT_EQ(bytes[2], 10);
    ExpectPacketsWithinRows(bytes, picture.width, picture.height);
    ExpectReadsBack(base + ".tga", picture, true);
  }
  // A uniform row of 300 becomes runs of 128, 128 and 44 pixels.
  TestPicture flat(300, 1);
  std::fill(flat.bytes.begin(), flat.bytes.end(), uint8_t{9});
  ASSERT_TRUE(WriteOutputFile(flat.View(), 0, (scratch / "flat").string()));
  const std::vector<uint8_t> bytes = ReadAll(scratch / "flat.tga");
  ASSERT_EQ(bytes.size(), 18u + 3 * 5);
  EXPECT_EQ(bytes[18], 0xFF);
  EXPECT_EQ(bytes[23], 0xFF);
  EXPECT_EQ(bytes[28], 0x80 | 43);
}

TEST(ImageWriterTest, PngAndTiffKeepColourAndAlpha) {
  platform::ScratchDirectory scratch;
  const TestPicture picture(17, 9);
  ASSERT_TRUE(WriteOutputFile(picture.View(), 3, (scratch / "f").string()));
  ExpectReadsBack(scratch / "f.png", picture, true);
  ASSERT_TRUE(WriteOutputFile(picture.View(), 7, (scratch / "f").string()));
  ExpectReadsBack(scratch / "f.tif", picture, true);
}

// A tall picture is deflated in bands, one per thread; the bands must join into one stream
// that every reader takes, whatever the thread count.
TEST(ImageWriterTest, PngBandsMadeOnSeveralThreadsJoinIntoOnePicture) {
  platform::ScratchDirectory scratch;
  const TestPicture picture(131, 301);
  const char* saved = std::getenv("LUMETRA_THREADS");
  const std::string before = saved ? saved : "";
  for (const char* threads : {"1", "3", "64"}) {
    setenv("LUMETRA_THREADS", threads, 1);
    const std::filesystem::path file = scratch / (std::string("bands") + threads + ".png");
    ASSERT_NO_THROW(WriteImageFile(picture.View(), ImageFileFormat::kPng, file.string())) << threads;
    ExpectReadsBack(file, picture, true);
    if (!image::testing::HaveImageMagick()) continue;
    const std::vector<uint8_t> rgba = image::testing::ImageMagickRgba(file);
    ASSERT_EQ(rgba.size(), picture.bytes.size()) << threads;
    for (size_t top = 0; top < 301; top += 100) {
      const uint8_t* want = &picture.bytes[(300 - top) * 131 * 4];
      const uint8_t* got = &rgba[top * 131 * 4];
      EXPECT_EQ(got[0], want[2]);
      EXPECT_EQ(got[2], want[0]);
      EXPECT_EQ(got[3], want[3]);
    }
  }
  if (saved) {
    setenv("LUMETRA_THREADS", before.c_str(), 1);
  } else {
    unsetenv("LUMETRA_THREADS");
  }
}

TEST(ImageWriterTest, FailuresLeaveTheOldFileAndNoTemporaryFiles) {
  platform::ScratchDirectory scratch;
  const std::filesystem::path target = scratch / "keep.tga";
  image::testing::WriteAll(target, {1, 2, 3});
  const TestPicture wide(70000, 1);
  std::string error;
  EXPECT_FALSE(WriteOutputFile(wide.View(), 5, (scratch / "keep").string(), &error));
  EXPECT_NE(error.find("keep.tga"), std::string::npos);
  EXPECT_NE(error.find("65535"), std::string::npos);
  EXPECT_EQ(ReadAll(target), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 1);

  const TestPicture picture(2, 2);
  EXPECT_FALSE(WriteOutputFile(picture.View(), 1, (scratch / "missing" / "f").string(), &error));
  EXPECT_NE(error.find("cannot create"), std::string::npos);
  EXPECT_THROW(WriteImageFile({picture.bytes, 3, 2}, ImageFileFormat::kPng, (scratch / "x.png").string()),
               ImageWriteError);
  EXPECT_FALSE(std::filesystem::exists(scratch / "x.png"));
}

}  // namespace
}  // namespace lumetra::image
