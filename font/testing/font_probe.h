#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lumetra::font::testing {

// A deliberately separate, minimal reader of real font files, so that tests
// compare the code under test with values read another way.
class FontProbe {
 public:
  explicit FontProbe(const std::string& path);

  std::uint16_t UnitsPerEm() const { return U16(Table("head") + 18); }
  // Unicode cmap, format 4 (the only one the fonts we test with use first).
  std::uint16_t GlyphOf(std::uint16_t character) const;
  std::uint16_t Advance(std::uint16_t glyph) const;
  std::int16_t LeftSideBearing(std::uint16_t glyph) const;
  std::int16_t XMin(std::uint16_t glyph) const;
  std::int16_t ContourCount(std::uint16_t glyph) const;
  // The kern table's format-0 value for the pair, summed over its subtables; 0 if none.
  int Kerning(std::uint16_t left, std::uint16_t right) const;
  bool HasTable(const std::string& tag) const { return tables_.count(tag) != 0; }

 private:
  std::uint32_t Table(const std::string& tag) const { return tables_.at(tag); }
  std::uint16_t U16(std::size_t at) const {
    return static_cast<std::uint16_t>(bytes_.at(at) << 8 | bytes_.at(at + 1));
  }
  std::uint32_t U32(std::size_t at) const { return std::uint32_t{U16(at)} << 16 | U16(at + 2); }
  std::uint32_t GlyphStart(std::uint16_t glyph) const;

  std::vector<std::uint8_t> bytes_;
  std::map<std::string, std::uint32_t> tables_;
};

}  // namespace lumetra::font::testing
