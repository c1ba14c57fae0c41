#pragma once

#include <cstdint>

namespace lumetra::font {

struct TrueTypeFont;

// How far the right glyph of a pair moves, in font units.
struct Kerning {
  std::int32_t horizontal = 0;
  std::int32_t vertical = 0;
};

// Bits of a kerning subtable's coverage word.
enum KerningCoverage : std::uint16_t {
  kKerningHorizontal = 0x1,
  kKerningMinimum = 0x2,
  kKerningCrossStream = 0x4,
  kKerningOverride = 0x8,
};

// Combines the horizontal subtables' values for the pair (left, right) as
// their coverage bits say; each kerning is kept at or above its minimum.
Kerning KerningFor(const TrueTypeFont& font, std::uint16_t left, std::uint16_t right);

}  // namespace lumetra::font
