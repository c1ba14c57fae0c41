// The GIF, BMP and TGA readers and LoadImage on hand-made files, including broken ones.
#include <gtest/gtest.h>

#include "image/image_loader.h"
#include "image/testing/image_test_support.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::image {
namespace {

using testing::AppendU16;
using testing::AppendU32;
using testing::Bytes;
using testing::LoadFile;
using testing::TopDownBgra;
using testing::WriteBytes;
using Bgra = std::array<uint8_t, 4>;

// (code, width) pairs packed least significant bit first.
Bytes PackCodes(const std::vector<std::pair<int, int>>& codes) {
  Bytes packed;
  uint32_t bits = 0;
  int count = 0;
  for (const auto& [code, width] : codes) {
    bits |= static_cast<uint32_t>(code) << count;
    for (count += width; count >= 8; count -= 8, bits >>= 8) packed.push_back(static_cast<uint8_t>(bits));
  }
  if (count > 0) packed.push_back(static_cast<uint8_t>(bits));
  return packed;
}

// LZW code stream that keeps the code width at its start value by clearing the table
// after every second literal.
Bytes LzwLiterals(const std::vector<int>& literals, int minCodeSize) {
  const int clear = 1 << minCodeSize;
  const int width = minCodeSize + 1;
  std::vector<std::pair<int, int>> stream;
  for (size_t i = 0; i < literals.size(); ++i) {
    if (i % 2 == 0) stream.emplace_back(clear, width);
    stream.emplace_back(literals[i], width);
  }
  stream.emplace_back(clear + 1, width);
  return PackCodes(stream);
}

struct GifSpec {
  int width = 2;
  int height = 2;
  bool interlaced = false;
  int minCodeSize = 2;
  bool globalTable = true;
  Bytes data;  // LZW bytes
};

Bytes MakeGif(const GifSpec& layout) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  AppendU16(gif, static_cast<uint32_t>(layout.width));
  AppendU16(gif, static_cast<uint32_t>(layout.height));
  gif.insert(gif.end(), {static_cast<uint8_t>(layout.globalTable ? 0x81 : 0), 0, 0});
  // Four colours stored red, green, blue: red, green, blue, white.
  if (layout.globalTable) gif.insert(gif.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  gif.insert(gif.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // an extension to skip
  gif.push_back(0x2C);
  AppendU16(gif, 0);
  AppendU16(gif, 0);
  AppendU16(gif, static_cast<uint32_t>(layout.width));
  AppendU16(gif, static_cast<uint32_t>(layout.height));
  gif.push_back(layout.interlaced ? 0x40 : 0);
  gif.push_back(static_cast<uint8_t>(layout.minCodeSize));
  for (size_t at = 0; at < layout.data.size(); at += 255) {
    const size_t size = std::min<size_t>(255, layout.data.size() - at);
    gif.push_back(static_cast<uint8_t>(size));
    gif.insert(gif.end(), layout.data.begin() + static_cast<long>(at),
               layout.data.begin() + static_cast<long>(at + size));
  }
  gif.insert(gif.end(), {0, 0x3B});
  return gif;
}

class ImageReaderTest : public ::testing::Test {
 protected:
  LoadReport Load(const Bytes& bytes, const ImageLimits& limits = {}) {
    WriteBytes(scratch_ / "image", bytes);
    return LoadFile(scratch_ / "image", image_, limits);
  }

  platform::ScratchDirectory scratch_;
  Image image_;
};

TEST_F(ImageReaderTest, GifDecodesPaletteIndicesTopRowFirst) {
  GifSpec layout;
  layout.data = LzwLiterals({0, 1, 2, 3}, 2);
  const LoadReport report = Load(MakeGif(layout));
  ASSERT_EQ(report.error, "");
  EXPECT_EQ(report.format, "GIF");
  EXPECT_EQ(image_.pixelKind, kPaletteIndex);
  EXPECT_EQ(image_.PaletteSize(), 4);
  EXPECT_EQ(image_.bitsPerPixel, 8);
  EXPECT_FALSE(image_.IsBottomUp());
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{0, 255, 0, 255}));
  EXPECT_EQ(TopDownBgra(image_, 0, 1), (Bgra{255, 0, 0, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 1), (Bgra{255, 255, 255, 255}));
}

TEST_F(ImageReaderTest, GifTableEntriesAndWidthChangesDecode) {
  // "0 0 0 0 1 1 1 1" at code size 2, coded with table entries, twice with the code
  // that its own use defines, and a width change.
  GifSpec layout;
  layout.width = 8;
  layout.height = 1;
  layout.data = PackCodes({{4, 3}, {0, 3}, {6, 3}, {0, 3}, {1, 4}, {9, 4}, {1, 4}, {5, 4}});
  ASSERT_EQ(Load(MakeGif(layout)).error, "");
  for (int x = 0; x < 8; ++x) EXPECT_EQ(image_.Fetch(x, 0), x < 4 ? 0u : 1u) << x;
}

TEST_F(ImageReaderTest, InterlacedGifRowsGoToTheirPasses) {
  GifSpec layout;
  layout.width = 1;
  layout.height = 10;
  layout.interlaced = true;
  layout.minCodeSize = 4;
  // Decoded row i carries index i; with the passes the image rows are 0 8 | 4 | 2 6 | 1 3 5 7 9.
  layout.data = LzwLiterals({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 4);
  ASSERT_EQ(Load(MakeGif(layout)).error, "");
  const int decodedOfRow[10] = {0, 5, 3, 6, 2, 7, 4, 8, 1, 9};
  for (int row = 0; row < 10; ++row)
    EXPECT_EQ(image_.Fetch(0, row), static_cast<uint64_t>(decodedOfRow[row])) << row;
}

TEST_F(ImageReaderTest, GifWithoutColourTableIsPackedKind) {
  GifSpec layout;
  layout.globalTable = false;
  layout.data = LzwLiterals({0, 1, 2, 3}, 2);
  ASSERT_EQ(Load(MakeGif(layout)).error, "");
  EXPECT_EQ(image_.pixelKind, kPackedColour);
  EXPECT_EQ(image_.PaletteSize(), 0);
}

TEST_F(ImageReaderTest, BrokenGifsFailWithTheirMessages) {
  EXPECT_NE(Load({'G', 'I', 'F', '8', '9', 'a', 1, 0}).error.find("Bad Logical Screen Descriptor"),
            std::string::npos);
  const Bytes trailerFirst = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
  EXPECT_NE(Load(trailerFirst).error.find("Bad GIF Image"), std::string::npos);
  for (int codeSize : {1, 12}) {
    GifSpec layout;
    layout.minCodeSize = codeSize;
    layout.data = {0, 0, 0};
    EXPECT_NE(Load(MakeGif(layout)).error.find("Bad GIF Image"), std::string::npos) << codeSize;
  }
  GifSpec outOfRange;
  outOfRange.data = LzwLiterals({0}, 2);
  outOfRange.data[0] |= 0x80;  // the end code 5 becomes 7, beyond the next free code 6
  EXPECT_NE(Load(MakeGif(outOfRange)).error.find("Bad GIF Image"), std::string::npos);

  GifSpec truncated;
  truncated.data = LzwLiterals({0, 1, 2, 3}, 2);
  Bytes cut = MakeGif(truncated);
  cut.resize(cut.size() - 4);
  EXPECT_NE(Load(cut).error.find("Premature EOF in GIF file"), std::string::npos);
}

TEST_F(ImageReaderTest, GifClaimingMorePixelsThanItsDataCanHoldIsRefused) {
  GifSpec layout;
  layout.width = 65535;
  layout.height = 65535;
  layout.data = LzwLiterals({0, 1}, 2);
  EXPECT_NE(Load(MakeGif(layout)).error.find("Bad GIF Image"), std::string::npos);
}

Bytes MakeBmp(uint32_t infoSize, uint16_t bitCount, int32_t height, const Bytes& pixels, uint16_t planes = 1,
              const Bytes& palette = {}) {
  Bytes info;
  AppendU32(info, infoSize);
  if (infoSize == 12) {
    AppendU16(info, 2);
    AppendU16(info, static_cast<uint32_t>(height));
    AppendU16(info, planes);
    AppendU16(info, bitCount);
  } else {
    AppendU32(info, 2);
    AppendU32(info, static_cast<uint32_t>(height));
    AppendU16(info, planes);
    AppendU16(info, bitCount);
    info.resize(infoSize, 0);
  }
  Bytes bmp = {'B', 'M'};
  AppendU32(bmp, static_cast<uint32_t>(14 + info.size() + palette.size() + pixels.size()));
  AppendU32(bmp, 0);
  AppendU32(bmp, static_cast<uint32_t>(14 + info.size() + palette.size()));
  bmp.insert(bmp.end(), info.begin(), info.end());
  bmp.insert(bmp.end(), palette.begin(), palette.end());
  bmp.insert(bmp.end(), pixels.begin(), pixels.end());
  return bmp;
}

TEST_F(ImageReaderTest, BmpRowsKeepFileOrderWithTheBottomUpFlag) {
  // Two rows of two 24-bit pixels, each padded to 8 bytes; the first stored row is the bottom.
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  ASSERT_EQ(Load(MakeBmp(40, 24, 2, pixels)).error, "");
  EXPECT_TRUE(image_.IsBottomUp());
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{7, 8, 9, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 1), (Bgra{4, 5, 6, 255}));

  ASSERT_EQ(Load(MakeBmp(40, 24, -2, pixels)).error, "");
  EXPECT_FALSE(image_.IsBottomUp());
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{1, 2, 3, 255}));
}

TEST_F(ImageReaderTest, Bmp32KeepsAlphaOnlyWhenSomePixelUsesIt) {
  ASSERT_EQ(Load(MakeBmp(40, 32, 1, {1, 2, 3, 0, 4, 5, 6, 0})).error, "");
  EXPECT_EQ(image_.pixelKind, kPackedColour);
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{4, 5, 6, 255}));
  ASSERT_EQ(Load(MakeBmp(40, 32, 1, {1, 2, 3, 0, 4, 5, 6, 128})).error, "");
  EXPECT_EQ(image_.pixelKind, kPackedColourAlpha);
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{4, 5, 6, 128}));
}

TEST_F(ImageReaderTest, Bmp16DefaultsTo555) {
  ASSERT_EQ(Load(MakeBmp(40, 16, 1, {0x1F, 0x00, 0x00, 0x7C})).error, "");
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{255, 0, 0, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{0, 0, 255, 255}));
}

TEST_F(ImageReaderTest, BmpHeadersOutsideTheRulesAreRefused) {
  const Bytes pixels(16, 0);
  EXPECT_NE(Load(MakeBmp(11, 24, 2, pixels)).error, "");
  EXPECT_NE(Load(MakeBmp(125, 24, 2, pixels)).error, "");
  EXPECT_NE(Load(MakeBmp(40, 24, 2, pixels, 2)).error.find("plane"), std::string::npos);
  EXPECT_NE(Load(MakeBmp(12, 16, 2, pixels)).error.find("bit depth"), std::string::npos);
  EXPECT_NE(Load(MakeBmp(40, 4, 2, pixels)).error.find("bit depth"), std::string::npos);
  EXPECT_NE(Load(MakeBmp(40, 24, 3, pixels)).error.find("Premature EOF"), std::string::npos);
  EXPECT_NE(Load(MakeBmp(40, 24, 1 << 30, pixels)).error.find("Premature EOF"), std::string::npos);
}

TEST_F(ImageReaderTest, BmpWithTheSmallHeaderReadsThreeByteEntries) {
  Bytes palette(256 * 3, 0);
  palette[3] = 11, palette[4] = 22, palette[5] = 33;
  // One row: index 1, index 0, padding.
  ASSERT_EQ(Load(MakeBmp(12, 8, 1, {1, 0, 0, 0}, 1, palette)).error, "");
  EXPECT_EQ(image_.pixelKind, kPaletteIndex);
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{11, 22, 33, 255}));
}

struct TgaSpec {
  uint8_t type = 2;
  uint8_t depth = 24;
  uint8_t descriptor = 0;
  uint16_t width = 2;
  uint16_t height = 2;
  Bytes colourMap;  // 24-bit entries; makes the file colour-mapped
  Bytes id;
};

Bytes MakeTga(const TgaSpec& layout, const Bytes& pixels) {
  Bytes tga = {static_cast<uint8_t>(layout.id.size()), static_cast<uint8_t>(layout.colourMap.empty() ? 0 : 1),
               layout.type};
  AppendU16(tga, 0);
  AppendU16(tga, static_cast<uint32_t>(layout.colourMap.size() / 3));
  tga.push_back(layout.colourMap.empty() ? 0 : 24);
  AppendU32(tga, 0);
  AppendU16(tga, layout.width);
  AppendU16(tga, layout.height);
  tga.push_back(layout.depth);
  tga.push_back(layout.descriptor);
  tga.insert(tga.end(), layout.id.begin(), layout.id.end());
  tga.insert(tga.end(), layout.colourMap.begin(), layout.colourMap.end());
  tga.insert(tga.end(), pixels.begin(), pixels.end());
  return tga;
}

TEST_F(ImageReaderTest, TgaOfEveryTypeReadsTheSamePicture) {
  // Bottom row first: (1,2,3) (4,5,6) / top row (7,8,9) (10,11,12).
  const Bytes trueColour = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  TgaSpec plain;
  plain.id = {'x', 'y'};
  ASSERT_EQ(Load(MakeTga(plain, trueColour)).error, "");
  EXPECT_TRUE(image_.IsBottomUp());
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{10, 11, 12, 255}));

  TgaSpec rle = plain;
  rle.type = 10;
  // One run of two pixels across... the bottom row, then a raw packet of two.
  ASSERT_EQ(Load(MakeTga(rle, {0x81, 1, 2, 3, 0x01, 7, 8, 9, 10, 11, 12})).error, "");
  EXPECT_EQ(TopDownBgra(image_, 1, 1), (Bgra{1, 2, 3, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{10, 11, 12, 255}));

  // A run that crosses from one row into the next is decoded as written.
  ASSERT_EQ(Load(MakeTga(rle, {0x82, 1, 2, 3, 0x00, 7, 8, 9})).error, "");
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{1, 2, 3, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{7, 8, 9, 255}));

  TgaSpec mapped = plain;
  mapped.type = 1;
  mapped.depth = 8;
  mapped.colourMap = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(Load(MakeTga(mapped, {0, 1, 1, 0})).error, "");
  EXPECT_EQ(image_.pixelKind, kPaletteIndex);
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{4, 5, 6, 255}));
  mapped.type = 9;
  ASSERT_EQ(Load(MakeTga(mapped, {0x83, 1})).error, "");
  EXPECT_EQ(TopDownBgra(image_, 1, 1), (Bgra{4, 5, 6, 255}));

  TgaSpec grey = plain;
  grey.type = 3;
  grey.depth = 8;
  ASSERT_EQ(Load(MakeTga(grey, {1, 2, 3, 4})).error, "");
  EXPECT_EQ(image_.pixelKind, kSingleByte);
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{3, 3, 3, 255}));
  grey.type = 11;
  ASSERT_EQ(Load(MakeTga(grey, {0x83, 9})).error, "");
  EXPECT_EQ(TopDownBgra(image_, 1, 0), (Bgra{9, 9, 9, 255}));
}

TEST_F(ImageReaderTest, TgaOriginBitsDecideRowAndColumnOrder) {
  TgaSpec layout;
  layout.descriptor = 0x20 | 0x10;  // top-left origin, right to left
  ASSERT_EQ(Load(MakeTga(layout, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})).error, "");
  EXPECT_FALSE(image_.IsBottomUp());
  EXPECT_EQ(TopDownBgra(image_, 0, 0), (Bgra{4, 5, 6, 255}));
  EXPECT_EQ(TopDownBgra(image_, 1, 1), (Bgra{7, 8, 9, 255}));
}

TEST_F(ImageReaderTest, Tga32AlphaFollowsTheDescriptorOrItsUse) {
  TgaSpec layout;
  layout.width = 1;
  layout.height = 1;
  layout.depth = 32;
  ASSERT_EQ(Load(MakeTga(layout, {1, 2, 3, 0})).error, "");
  EXPECT_EQ(image_.pixelKind, kPackedColour);
  layout.descriptor = 8;
  ASSERT_EQ(Load(MakeTga(layout, {1, 2, 3, 0})).error, "");
  EXPECT_EQ(image_.pixelKind, kPackedColourAlpha);
  EXPECT_EQ(TopDownBgra(image_, 0, 0)[3], 0);
}

TEST_F(ImageReaderTest, BrokenTgasAreRefused) {
  TgaSpec layout;
  layout.type = 4;
  EXPECT_NE(Load(MakeTga(layout, Bytes(12, 0))).error, "");
  layout.type = 2;
  layout.depth = 12;
  EXPECT_NE(Load(MakeTga(layout, Bytes(12, 0))).error, "");
  layout.depth = 24;
  EXPECT_NE(Load(MakeTga(layout, Bytes(11, 0))).error.find("Premature EOF in TGA file"), std::string::npos);
  layout.type = 10;
  EXPECT_NE(Load(MakeTga(layout, {0x81, 1, 2})).error.find("Premature EOF in TGA file"), std::string::npos);
  layout.width = layout.height = 65535;
  EXPECT_NE(Load(MakeTga(layout, {0xFF, 1, 2, 3})).error.find("Premature EOF in TGA file"),
            std::string::npos);
}

TEST_F(ImageReaderTest, LoadImageNamesTheFileAndTheReason) {
  Image image;
  LoadReport report;
  EXPECT_EQ(LoadImage(image, (scratch_ / "missing.png").string(), &report), 0);
  EXPECT_NE(report.error.find("missing.png: cannot open"), std::string::npos);

  EXPECT_NE(Load({'h', 'e', 'l', 'l', 'o'}).error.find("not an image format"), std::string::npos);

  GifSpec layout;
  layout.data = LzwLiterals({0, 1, 2, 3}, 2);
  const LoadReport tooLarge = Load(MakeGif(layout), ImageLimits{1, 1});
  EXPECT_NE(tooLarge.error.find("Image too large"), std::string::npos);
  ASSERT_EQ(Load(MakeGif(layout)).error, "");
  EXPECT_EQ(image_.fileName, (scratch_ / "image").string());
}

}  // namespace
}  // namespace lumetra::image
