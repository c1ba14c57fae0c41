#include "font/testing/font_probe.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lumetra::font::testing {

FontProbe::FontProbe(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (bytes_.size() < 12) throw std::runtime_error("cannot read " + path);
  for (std::size_t i = 0, count = U16(4); i < count; ++i) {
    const std::size_t entry = 12 + 16 * i;
    tables_[std::string(bytes_.begin() + entry, bytes_.begin() + entry + 4)] = U32(entry + 8);
  }
}

std::uint16_t FontProbe::GlyphOf(std::uint16_t character) const {
  const std::uint32_t cmap = Table("cmap");
  const std::uint32_t sub = cmap + U32(cmap + 8);
  if (U16(sub) != 4) throw std::runtime_error("the probe reads only format 4");
  const std::size_t segments = U16(sub + 6) / 2;
  for (std::size_t i = 0; i < segments; ++i) {
    const std::size_t end = sub + 14 + 2 * i, start = end + 2 * segments + 2, delta = start + 2 * segments,
                      range = delta + 2 * segments;
    if (U16(end) < character) continue;
    if (U16(start) > character) return 0;
    if (U16(range) == 0) return static_cast<std::uint16_t>(character + U16(delta));
    const std::uint16_t glyph = U16(range + U16(range) + 2 * (character - U16(start)));
    return glyph ? static_cast<std::uint16_t>(glyph + U16(delta)) : 0;
  }
  return 0;
}

std::uint16_t FontProbe::Advance(std::uint16_t glyph) const {
  const std::uint16_t metrics = U16(Table("hhea") + 34);
  return U16(Table("hmtx") + 4 * (glyph < metrics ? glyph : metrics - 1));
}

std::int16_t FontProbe::LeftSideBearing(std::uint16_t glyph) const {
  const std::uint16_t metrics = U16(Table("hhea") + 34);
  const std::size_t at = glyph < metrics ? 4 * glyph + 2 : 4 * metrics + 2 * (glyph - metrics);
  return static_cast<std::int16_t>(U16(Table("hmtx") + at));
}

std::uint32_t FontProbe::GlyphStart(std::uint16_t glyph) const {
  const bool longOffsets = U16(Table("head") + 50) == 1;
  const std::uint32_t offset =
      longOffsets ? U32(Table("loca") + 4 * glyph) : U16(Table("loca") + 2 * glyph) * 2u;
  return Table("glyf") + offset;
}

std::int16_t FontProbe::XMin(std::uint16_t glyph) const {
  return static_cast<std::int16_t>(U16(GlyphStart(glyph) + 2));
}

std::int16_t FontProbe::ContourCount(std::uint16_t glyph) const {
  return static_cast<std::int16_t>(U16(GlyphStart(glyph)));
}

int FontProbe::Kerning(std::uint16_t left, std::uint16_t right) const {
  if (!HasTable("kern")) return 0;
  std::size_t at = Table("kern") + 4;
  int sum = 0;
  for (std::size_t t = 0, count = U16(Table("kern") + 2); t < count; ++t) {
    const std::size_t pairs = at + 14;
    for (std::size_t p = 0, n = U16(at + 6); p < n; ++p) {
      if (U16(pairs + 6 * p) == left && U16(pairs + 6 * p + 2) == right)
        sum += static_cast<std::int16_t>(U16(pairs + 6 * p + 4));
    }
    at += U16(at + 2);
  }
  return sum;
}

}  // namespace lumetra::font::testing
