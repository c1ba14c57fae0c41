#include "font/character_map.h"

#include <gtest/gtest.h>

#include "font/testing/test_font_builder.h"
#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

using font::testing::BoxGlyph;
using font::testing::TestFontBuilder;

struct MappedFont {
  FontFile file;
  std::unique_ptr<TrueTypeFont> font;
  std::uint16_t Index(char character) const {
    return GlyphIndex(file, *font, static_cast<std::uint8_t>(character));
  }
};

// Glyphs for 'A', 'B', 'D', 'z' and 0xE9 (so segments and the trimmed table have gaps).
MappedFont FontWithCmap(std::uint16_t format) {
  TestFontBuilder builder;
  builder.CmapFormat(format);
  builder.AddGlyph(BoxGlyph(0, 0, 10, 10, 20));  // unmapped, shifts the others off their codes
  for (const int character : {int{'A'}, int{'B'}, int{'D'}, int{'z'}, 0xE9}) {
    builder.AddGlyph(BoxGlyph(0, 0, 10, 10, 20), static_cast<std::uint8_t>(character));
  }
  FontFile file = FontFile::FromBytes("cmap.ttf", builder.Build());
  auto font = ReadTrueTypeFont(file);
  return {std::move(file), std::move(font)};
}

class SupportedFormat : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(SupportedFormat, MapsCharactersAndMissesGaps) {
  const MappedFont mapped = FontWithCmap(GetParam());
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(mapped.Index('A'), 2);
  EXPECT_EQ(mapped.Index('B'), 3);
  EXPECT_EQ(mapped.Index('D'), 4);
  EXPECT_EQ(mapped.Index('z'), 5);
  EXPECT_EQ(mapped.Index('\xE9'), 6);
  EXPECT_EQ(mapped.Index('C'), 0);
  EXPECT_EQ(mapped.Index('@'), 0);
  EXPECT_EQ(mapped.Index('\xFF'), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

INSTANTIATE_TEST_SUITE_P(CharacterMap, SupportedFormat, ::testing::Values(0, 4, 6));

TEST(CharacterMap, OtherFormatsAreReportedAndUseTheCharacterCode) {
  for (const std::uint16_t format : {2, 12}) {
    const MappedFont mapped = FontWithCmap(format);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(mapped.Index('B'), 'B');
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Unsupported index mapping format: " + std::to_string(format) + "\n");
  }
}

TEST(CharacterMap, EmptyMapGivesGlyphZeroAndBadOffsetsAreRefused) {
  MappedFont mapped = FontWithCmap(4);
  std::vector<std::uint8_t> bytes = mapped.file.Read(0, mapped.file.Size(), "font");
  const std::uint32_t cmap = mapped.font->cmap.offset;
  bytes[cmap + 3] = 0;  // no encoding records
  EXPECT_EQ(GlyphIndex(FontFile::FromBytes("cmap.ttf", bytes), *mapped.font, 'A'), 0);

  bytes[cmap + 3] = 1;
  bytes[cmap + 8] = 0x7F;  // the subtable lies far past the end of the file
  EXPECT_THROW(GlyphIndex(FontFile::FromBytes("cmap.ttf", bytes), *mapped.font, 'A'), FontFormatError);
}

}  // namespace
}  // namespace lumetra::font
