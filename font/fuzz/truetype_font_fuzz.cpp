// Any bytes as a font file: reading the tables, looking up characters and
// reading their outlines either succeeds with a sound glyph or refuses with
// FontFormatError; never a crash, a hang or a huge allocation.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "font/character_map.h"
#include "font/glyph_outline.h"
#include "font/kerning.h"
#include "font/truetype_font.h"

namespace {

void CheckGlyph(const lumetra::font::TrueTypeGlyph& glyph, std::uint16_t index) {
  if (glyph.index != index || (glyph.composite && !glyph.contours.empty())) std::abort();
  for (const auto& contour : glyph.contours) {
    if (contour.points.empty()) std::abort();
    for (const auto& point : contour.points) {
      if (!std::isfinite(point.x) || !std::isfinite(point.y)) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = lumetra::font::FontFile::FromBytes("fuzz.ttf", {data, size});
  std::unique_ptr<lumetra::font::TrueTypeFont> font;
  try {
    font = lumetra::font::ReadTrueTypeFont(file);
  } catch (const lumetra::font::FontFormatError&) {
    return 0;
  }
  const bool located = font->loca.Present() && font->glyphCount != 0;
  if (font->unitsPerEm == 0 || font->locations.size() != (located ? font->glyphCount + 1u : 0u)) std::abort();
  if (!font->HasOutlines()) return 0;
  std::uint16_t previous = 0;
  for (const std::uint8_t character : {'A', 'V', 'O', 'x', '\0', '\xE9'}) {
    try {
      const std::uint16_t index = lumetra::font::GlyphIndex(file, *font, character);
      CheckGlyph(lumetra::font::ReadGlyphOutline(file, *font, index, character), index);
      (void)font->Metric(index);
      (void)lumetra::font::KerningFor(*font, previous, index);
      previous = index;
    } catch (const lumetra::font::FontFormatError&) {}
  }
  return 0;
}
