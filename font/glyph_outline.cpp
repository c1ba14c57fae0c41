#include "font/glyph_outline.h"

#include <cstdio>
#include <string>

#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

// Simple-glyph flag bits.
constexpr std::uint8_t kOnCurve = 0x01;
constexpr std::uint8_t kXShort = 0x02;
constexpr std::uint8_t kYShort = 0x04;
constexpr std::uint8_t kRepeat = 0x08;
constexpr std::uint8_t kXSameOrPositive = 0x10;
constexpr std::uint8_t kYSameOrPositive = 0x20;

std::vector<std::uint16_t> ReadEndPoints(platform::ByteReader& reader, std::int16_t contourCount) {
  std::vector<std::uint16_t> endPoints(static_cast<std::size_t>(contourCount));
  for (std::size_t i = 0; i < endPoints.size(); ++i) {
    endPoints[i] = reader.U16();
    if (i > 0 && endPoints[i] <= endPoints[i - 1]) {
      throw FontFormatError("contour " + std::to_string(i) + " ends at point " +
                            std::to_string(endPoints[i]) + ", not after the previous contour's end " +
                            std::to_string(endPoints[i - 1]));
    }
  }
  return endPoints;
}

std::vector<std::uint8_t> ReadFlags(platform::ByteReader& reader, std::size_t pointCount) {
  std::vector<std::uint8_t> flags;
  flags.reserve(pointCount);
  while (flags.size() < pointCount) {
    const std::uint8_t flag = reader.U8();
    const std::size_t copies = (flag & kRepeat) ? std::size_t{reader.U8()} + 1 : 1;
    if (copies > pointCount - flags.size()) {
      throw FontFormatError("a repeated flag runs past the last of the " + std::to_string(pointCount) +
                            " points");
    }
    flags.insert(flags.end(), copies, flag);
  }
  return flags;
}

// One coordinate axis: a short delta is an unsigned byte whose sign the
// second bit gives; otherwise that bit means "unchanged" or a 16-bit delta.
std::vector<std::int32_t> ReadCoordinates(platform::ByteReader& reader,
                                          const std::vector<std::uint8_t>& flags, std::uint8_t shortBit,
                                          std::uint8_t sameOrPositiveBit) {
  std::vector<std::int32_t> values(flags.size());
  std::int32_t value = 0;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (flags[i] & shortBit) {
      const std::int32_t delta = reader.U8();
      value += (flags[i] & sameOrPositiveBit) ? delta : -delta;
    } else if (!(flags[i] & sameOrPositiveBit)) {
      value += reader.I16();
    }
    values[i] = value;
  }
  return values;
}

void ReadSimpleOutline(platform::ByteReader& reader, std::int16_t contourCount, std::uint16_t unitsPerEm,
                       TrueTypeGlyph& glyph) {
  const auto endPoints = ReadEndPoints(reader, contourCount);
  reader.Skip(reader.U16());  // instructions
  const auto flags = ReadFlags(reader, std::size_t{endPoints.back()} + 1);
  const auto xs = ReadCoordinates(reader, flags, kXShort, kXSameOrPositive);
  const auto ys = ReadCoordinates(reader, flags, kYShort, kYSameOrPositive);
  const float scale = 1.0f / static_cast<float>(unitsPerEm);
  std::size_t point = 0;
  glyph.contours.resize(endPoints.size());
  for (std::size_t c = 0; c < endPoints.size(); ++c) {
    auto& points = glyph.contours[c].points;
    points.reserve(endPoints[c] + 1 - point);
    for (; point <= endPoints[c]; ++point) {
      points.push_back({static_cast<float>(xs[point]) * scale, static_cast<float>(ys[point]) * scale,
                        (flags[point] & kOnCurve) != 0});
    }
  }
}

}  // namespace

TrueTypeGlyph ReadGlyphOutline(const FontFile& file, const TrueTypeFont& font, std::uint16_t index,
                               std::uint8_t character) {
  if (index >= font.glyphCount || std::size_t{index} + 1 >= font.locations.size()) {
    throw FontFormatError("character " + std::to_string(character) + " maps to glyph " +
                          std::to_string(index) + ", beyond the font's " + std::to_string(font.glyphCount) +
                          " glyphs");
  }
  TrueTypeGlyph glyph;
  glyph.character = character;
  glyph.index = index;
  const std::uint32_t start = font.locations[index];
  const std::uint32_t end = font.locations[index + 1];
  if (end < start) {
    throw FontFormatError("glyph " + std::to_string(index) + " ends at " + std::to_string(end) +
                          " before it starts at " + std::to_string(start));
  }
  if (end == start) return glyph;  // no outline: a blank glyph
  const std::uint64_t offset = std::uint64_t{font.glyf.offset} + start;
  const auto bytes = file.Read(offset, end - start, "glyph outline");
  platform::ByteReader reader = BlockReader(bytes, offset, "glyph outline");
  const std::int16_t contourCount = reader.I16();
  glyph.xMin = reader.I16();
  glyph.yMin = reader.I16();
  glyph.xMax = reader.I16();
  glyph.yMax = reader.I16();
  if (contourCount <= 0) {
    std::fputs("Can't handle multiple component glyphs\n", stdout);
    glyph.composite = true;
    return glyph;
  }
  ReadSimpleOutline(reader, contourCount, font.unitsPerEm, glyph);
  return glyph;
}

}  // namespace lumetra::font
