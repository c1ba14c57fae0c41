#pragma once

#include <cstdint>

#include "font/font_file.h"

namespace lumetra::font {

struct TrueTypeFont;

// The glyph that shows character, from the first encoding of the cmap table.
// Formats 0, 4 and 6 are read; any other is reported on stdout and the
// character code itself serves as the glyph index. Throws FontFormatError.
std::uint16_t GlyphIndex(const FontFile& file, const TrueTypeFont& font, std::uint8_t character);

}  // namespace lumetra::font
