#include "font/kerning.h"

#include <optional>

#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

// Pairs are sorted by left glyph, so the scan stops once it has passed left.
std::optional<std::int16_t> FindPair(const KerningSubtable& subtable, std::uint16_t left,
                                     std::uint16_t right) {
  for (const KerningPair& pair : subtable.pairs) {
    if (pair.left > left) break;
    if (pair.left == left && pair.right == right) return pair.value;
  }
  return std::nullopt;
}

void Accumulate(std::int32_t& kerning, std::int16_t value, std::uint16_t coverage) {
  kerning = (coverage & kKerningOverride) ? value : kerning + value;
}

}  // namespace

Kerning KerningFor(const TrueTypeFont& font, std::uint16_t left, std::uint16_t right) {
  Kerning kerning;
  Kerning minimum{-font.unitsPerEm, -font.unitsPerEm};
  for (const KerningSubtable& subtable : font.kerning) {
    const std::uint16_t coverage = subtable.coverage;
    if (!(coverage & kKerningHorizontal)) continue;
    const auto value = FindPair(subtable, left, right);
    if (!value) continue;
    const bool crossStream = coverage & kKerningCrossStream;
    if (coverage & kKerningMinimum) {
      (crossStream ? minimum.vertical : minimum.horizontal) = *value;
    } else {
      Accumulate(crossStream ? kerning.vertical : kerning.horizontal, *value, coverage);
    }
  }
  if (kerning.horizontal <= minimum.horizontal) kerning.horizontal = minimum.horizontal;
  if (kerning.vertical <= minimum.vertical) kerning.vertical = minimum.vertical;
  return kerning;
}

}  // namespace lumetra::font
