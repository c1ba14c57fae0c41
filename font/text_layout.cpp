#include "font/text_layout.h"

#include "font/font_cache.h"
#include "font/kerning.h"

namespace lumetra::font {

TextLayout LayOutText(TrueTypeFont& font, std::string_view text, double spacing, double rise) {
  TextLayout layout;
  const double scale = 1.0 / font.unitsPerEm;
  double x = 0;
  double y = 0;
  std::uint16_t previous = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TrueTypeGlyph* glyph =
        text[i] == ' ' ? nullptr : GetGlyph(font, static_cast<std::uint8_t>(text[i]));
    if (glyph) {
      const HorizontalMetric metric = font.Metric(glyph->index);
      PlacedGlyph placed{glyph, x - glyph->xMin * scale, y};
      if (i > 0) {
        const Kerning kerning = KerningFor(font, previous, glyph->index);
        placed.x = x + (metric.leftSideBearing - glyph->xMin + kerning.horizontal) * scale;
        placed.y = kerning.vertical * scale + y;
      }
      if (glyph->composite) {
        ++layout.failedGlyphs;
      } else if (!glyph->contours.empty()) {
        layout.glyphs.push_back(placed);
      }
      // The first glyph starts at its own left edge, so its bearing is not advanced over.
      x += (i == 0 ? metric.advanceWidth - metric.leftSideBearing : metric.advanceWidth) * scale;
    } else if (text[i] != ' ') {
      ++layout.failedGlyphs;
    }
    x += spacing;
    y += rise;
    previous = glyph ? glyph->index : 0;
  }
  return layout;
}

}  // namespace lumetra::font
