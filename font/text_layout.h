#pragma once

#include <string_view>
#include <vector>

#include "font/truetype_font.h"

namespace lumetra::font {

// A glyph with an outline, moved to its place in the text (in ems).
struct PlacedGlyph {
  const TrueTypeGlyph* glyph = nullptr;
  double x = 0;
  double y = 0;
};

struct TextLayout {
  std::vector<PlacedGlyph> glyphs;  // in text order; blank glyphs make none
  int failedGlyphs = 0;             // unreadable or composite: no outline to show
};

// Lays the text out along x with the fonts' advances and kerning; spacing
// and rise are added after every character. A space has no glyph and
// breaks the kerning chain.
TextLayout LayOutText(TrueTypeFont& font, std::string_view text, double spacing, double rise);

}  // namespace lumetra::font
