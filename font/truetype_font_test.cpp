#include "font/truetype_font.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "font/testing/font_probe.h"
#include "font/testing/system_fonts.h"
#include "font/testing/test_font_builder.h"

namespace lumetra::font {
namespace {

using font::testing::BoxGlyph;
using font::testing::FontProbe;
using font::testing::TestFontBuilder;

std::unique_ptr<TrueTypeFont> Read(const std::vector<std::uint8_t>& bytes) {
  return ReadTrueTypeFont(FontFile::FromBytes("test.ttf", bytes));
}

std::string Refusal(const std::vector<std::uint8_t>& bytes) {
  try {
    Read(bytes);
  } catch (const FontFormatError& error) {
    return error.what();
  }
  return "accepted";
}

// Metrics of every glyph, both location formats, and the monospaced font's
// short metrics table whose later glyphs share the last advance.
TEST(TrueTypeFont, MetricsMatchTheFilesOfRealFonts) {
  for (const char* name : {"LiberationSans-Regular.ttf", "DejaVuSansMono.ttf"}) {
    const std::optional<std::string> found = testing::SystemFont(name);
    if (!found) GTEST_SKIP() << testing::MissingFont(name);
    const std::string& path = *found;
    const auto file = FontFile::Open(path);
    ASSERT_TRUE(file) << path;
    const auto font = ReadTrueTypeFont(*file);
    const FontProbe probe(path);
    EXPECT_EQ(font->unitsPerEm, probe.UnitsPerEm());
    ASSERT_EQ(font->locations.size(), font->glyphCount + 1u);
    for (std::uint16_t glyph = 0; glyph < font->glyphCount; ++glyph) {
      ASSERT_EQ(font->Metric(glyph).advanceWidth, probe.Advance(glyph)) << path << " glyph " << glyph;
      ASSERT_EQ(font->Metric(glyph).leftSideBearing, probe.LeftSideBearing(glyph))
          << path << " glyph " << glyph;
    }
  }
}

TEST(TrueTypeFont, ReadsKerningAndSkipsSubtablesOfOtherFormats) {
  TestFontBuilder builder;
  builder.AddKerning(0x0001, {{1, 2, -40}, {1, 3, 25}})
      .AddKerning(0x0201, {{9, 9, 9}})  // format 2: skipped by its length
      .AddKerning(0x000D, {{4, 5, -7}});
  const auto font = Read(builder.Build());
  ASSERT_EQ(font->kerning.size(), 2u);
  EXPECT_EQ(font->kerning[0].coverage, 0x0001);
  ASSERT_EQ(font->kerning[0].pairs.size(), 2u);
  EXPECT_EQ(font->kerning[0].pairs[1].right, 3);
  EXPECT_EQ(font->kerning[0].pairs[1].value, 25);
  EXPECT_EQ(font->kerning[1].coverage, 0x000D);
  ASSERT_EQ(font->kerning[1].pairs.size(), 1u);
  EXPECT_EQ(font->kerning[1].pairs[0].value, -7);
}

TEST(TrueTypeFont, ReadsOnlyTheFirstFortyDirectoryEntries) {
  // Seven real tables follow the dummies; the kern table comes last.
  const auto kerningWith = [](int dummies) {
    TestFontBuilder builder;
    builder.LeadingDummyTables(dummies).AddKerning(1, {{1, 2, -40}});
    return Read(builder.Build())->kerning.size();
  };
  EXPECT_EQ(kerningWith(32), 1u);  // kern is entry 40
  EXPECT_EQ(kerningWith(33), 0u);  // kern is entry 41
}

TEST(TrueTypeFont, GlyphsBeyondTheMetricsShareTheLastAdvance) {
  TestFontBuilder builder;
  builder.AddGlyph(BoxGlyph(5, 0, 10, 10, 600));
  builder.AddGlyph(BoxGlyph(7, 0, 10, 10, 999));
  builder.AddGlyph(BoxGlyph(-3, 0, 10, 10, 999));
  builder.HorizontalMetricCount(2);
  const auto font = Read(builder.Build());
  EXPECT_EQ(font->Metric(1).advanceWidth, 600);
  EXPECT_EQ(font->Metric(2).advanceWidth, 600);
  EXPECT_EQ(font->Metric(2).leftSideBearing, 7);
  EXPECT_EQ(font->Metric(3).leftSideBearing, -3);
  EXPECT_EQ(font->Metric(40).advanceWidth, 600);
}

TEST(TrueTypeFont, RefusesTablesOutsideTheFileAndImpossibleHeaders) {
  TestFontBuilder builder;
  builder.AddGlyph(BoxGlyph(0, 0, 10, 10, 20), 'A');
  builder.AddKerning(1, {{1, 1, -5}});
  const std::vector<std::uint8_t> good = builder.Build();
  const std::size_t tableCount = good[5];
  const auto withEntry = [&](const char* tag, std::size_t field, std::uint32_t value) {
    auto bytes = good;
    for (std::size_t entry = 12; entry < 12 + 16 * tableCount; entry += 16) {
      if (std::equal(tag, tag + 4, bytes.begin() + static_cast<long>(entry))) {
        for (int i = 0; i < 4; ++i)
          bytes[entry + field + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
      }
    }
    return bytes;
  };
  constexpr std::size_t kOffset = 8, kLength = 12;
  EXPECT_NE(Refusal(withEntry("hmtx", kOffset, 0xFFFFFF00)).find("past the end of the file"),
            std::string::npos);
  EXPECT_NE(Refusal(withEntry("loca", kOffset, 0xFFFFFF00)).find("location table"), std::string::npos);
  EXPECT_NE(Refusal(withEntry("kern", kLength, 0x7FFFFFFF)).find("kern table"), std::string::npos);
  EXPECT_NE(Refusal(withEntry("head", kLength, 20)).find("head table holds 20 bytes"), std::string::npos);
  EXPECT_NE(Refusal(withEntry("head", 0, 0x68656164 + 1)).find("no head table"), std::string::npos);
  // A kern table too short for its subtable header: the message places the cut in the file.
  std::uint32_t kernOffset = 0;
  for (std::size_t entry = 12; entry < 12 + 16 * tableCount; entry += 16) {
    if (std::equal("kern", "kern" + 4, good.begin() + static_cast<long>(entry))) {
      for (int i = 0; i < 4; ++i) kernOffset = kernOffset << 8 | good[entry + kOffset + i];
    }
  }
  EXPECT_EQ(Refusal(withEntry("kern", kLength, 6)),
            "the kern table ends at offset " + std::to_string(kernOffset + 6) +
                ", 2 bytes needed at offset " + std::to_string(kernOffset + 6));

  TestFontBuilder zeroUnits;
  zeroUnits.UnitsPerEm(0);
  EXPECT_NE(Refusal(zeroUnits.Build()).find("0 units per em"), std::string::npos);
}

TEST(TrueTypeFont, EveryTruncationIsRefusedOrReadable) {
  TestFontBuilder builder;
  builder.AddGlyph(BoxGlyph(0, 0, 10, 10, 20), 'A');
  builder.AddKerning(1, {{1, 1, -5}});
  const std::vector<std::uint8_t> whole = builder.Build();
  int refused = 0;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    try {
      Read({whole.begin(), whole.begin() + static_cast<long>(size)});
    } catch (const FontFormatError&) {
      ++refused;
    }
  }
  // The kern table comes last and is read whole, so every cut is noticed.
  EXPECT_EQ(refused, static_cast<int>(whole.size()));
}

}  // namespace
}  // namespace lumetra::font
