#pragma once

#include <cstdint>
#include <vector>

#include "font/font_file.h"

namespace lumetra::font {

struct TrueTypeFont;

// Coordinates in ems (font units divided by units per em).
struct GlyphPoint {
  float x = 0;
  float y = 0;
  bool onCurve = true;
};

// A closed outline of quadratic spline points, as the font stores it.
struct GlyphContour {
  std::vector<GlyphPoint> points;
};

struct TrueTypeGlyph {
  std::uint8_t character = 0;
  std::uint16_t index = 0;
  std::int16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // font units
  std::vector<GlyphContour> contours;                   // none for a blank glyph such as a space
  bool composite = false;                               // built of other glyphs: no outline of its own
};

// Reads the outline of glyph index from the glyf table; a composite glyph is
// reported on stdout and comes back without contours. Throws FontFormatError.
TrueTypeGlyph ReadGlyphOutline(const FontFile& file, const TrueTypeFont& font, std::uint16_t index,
                               std::uint8_t character);

}  // namespace lumetra::font
