#include "font/glyph_outline.h"

#include <gtest/gtest.h>

#include "font/testing/test_font_builder.h"
#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

using font::testing::TestFontBuilder;
using font::testing::TestGlyph;
using font::testing::TestPoint;

struct ReadFont {
  explicit ReadFont(std::vector<std::uint8_t> fontBytes)
      : bytes(std::move(fontBytes)),
        file(FontFile::FromBytes("test.ttf", bytes)),
        font(ReadTrueTypeFont(file)) {}

  TrueTypeGlyph Glyph(std::uint16_t index) const { return ReadGlyphOutline(file, *font, index, 'x'); }
  void Poke(std::uint16_t glyph, std::size_t at, std::uint8_t value) {
    bytes[font->glyf.offset + font->locations[glyph] + at] = value;
    file = FontFile::FromBytes("test.ttf", bytes);
  }

  std::vector<std::uint8_t> bytes;
  FontFile file;
  std::unique_ptr<TrueTypeFont> font;
};

// Deltas of every size and sign, unchanged coordinates, runs of equal flags
// (repeated flags) and off-curve points, in two contours.
TestGlyph EveryEncoding() {
  TestGlyph glyph;
  glyph.contours = {
      {{10, 0}, {300, 0}, {300, 5}, {300, 10}, {300, 15}, {290, 700, false}, {-400, 700}, {-400, -20, false}},
      {{0, 0}, {0, 0, false}, {255, -255}, {1000, 1000}}};
  glyph.advance = 1200;
  return glyph;
}

TEST(GlyphOutline, ReadsEveryPointEncodingInBothLocationFormats) {
  for (const bool longLocations : {false, true}) {
    TestFontBuilder builder;
    builder.UnitsPerEm(2048).LongLocations(longLocations);
    const TestGlyph source = EveryEncoding();
    const auto index = builder.AddGlyph(source, 'E');
    ReadFont read(builder.Build());
    const TrueTypeGlyph glyph = read.Glyph(index);

    EXPECT_EQ(glyph.index, index);
    EXPECT_EQ(glyph.character, 'x');
    EXPECT_FALSE(glyph.composite);
    EXPECT_EQ(glyph.xMin, -400);
    EXPECT_EQ(glyph.yMin, -255);
    EXPECT_EQ(glyph.xMax, 1000);
    EXPECT_EQ(glyph.yMax, 1000);
    ASSERT_EQ(glyph.contours.size(), source.contours.size());
    for (std::size_t c = 0; c < source.contours.size(); ++c) {
      ASSERT_EQ(glyph.contours[c].points.size(), source.contours[c].size()) << "contour " << c;
      for (std::size_t p = 0; p < source.contours[c].size(); ++p) {
        const TestPoint& expected = source.contours[c][p];
        const GlyphPoint& point = glyph.contours[c].points[p];
        EXPECT_FLOAT_EQ(point.x, expected.x / 2048.0f) << "contour " << c << " point " << p;
        EXPECT_FLOAT_EQ(point.y, expected.y / 2048.0f) << "contour " << c << " point " << p;
        EXPECT_EQ(point.onCurve, expected.onCurve) << "contour " << c << " point " << p;
      }
    }
  }
}

TEST(GlyphOutline, CompositeAndBlankGlyphsHaveNoContours) {
  TestFontBuilder builder;
  TestGlyph composite;
  composite.composite = true;
  const auto compositeIndex = builder.AddGlyph(composite, 'C');
  const auto blankIndex = builder.AddGlyph(TestGlyph{}, 'B');
  ReadFont read(builder.Build());

  ::testing::internal::CaptureStdout();
  const TrueTypeGlyph compositeGlyph = read.Glyph(compositeIndex);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't handle multiple component glyphs\n");
  EXPECT_TRUE(compositeGlyph.composite);
  EXPECT_TRUE(compositeGlyph.contours.empty());

  ::testing::internal::CaptureStdout();
  const TrueTypeGlyph blank = read.Glyph(blankIndex);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(blank.composite);
  EXPECT_TRUE(blank.contours.empty());
}

TEST(GlyphOutline, RefusesOutlinesThatContradictThemselves) {
  TestFontBuilder builder;
  const auto index = builder.AddGlyph(EveryEncoding(), 'E');
  const std::vector<std::uint8_t> bytes = builder.Build();
  const auto refusal = [&](auto&& damage) {
    ReadFont read(bytes);
    damage(read);
    try {
      read.Glyph(index);
    } catch (const FontFormatError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  // Second contour ends (point 3) before the first (point 7).
  EXPECT_NE(refusal([](ReadFont& r) { r.Poke(1, 13, 3); }).find("not after the previous contour"),
            std::string::npos);
  // The last end point claims thousands of points the flags cannot cover.
  EXPECT_NE(refusal([](ReadFont& r) { r.Poke(1, 12, 0x30); }).find("glyph outline ends"), std::string::npos);
  // The first flag repeats itself past the last point.
  EXPECT_NE(refusal([](ReadFont& r) {
              r.Poke(1, 18, 0x08 | 0x01);
              r.Poke(1, 19, 200);
            }).find("repeated flag runs past"),
            std::string::npos);
  // A location past the end of the file.
  EXPECT_NE(refusal([&](ReadFont& r) {
              r.font->locations[index + 1] = 0x7FFFFFF0;
            }).find("past the end of the file"),
            std::string::npos);
  EXPECT_NE(refusal([&](ReadFont& r) {
              std::swap(r.font->locations[index], r.font->locations[index + 1]);
            }).find("before it starts"),
            std::string::npos);
  EXPECT_NE(refusal([&](ReadFont& r) { r.font->glyphCount = index; }).find("beyond the font's"),
            std::string::npos);
}

}  // namespace
}  // namespace lumetra::font
