#include "font/character_map.h"

#include <cstdio>

#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

std::uint16_t U16At(const FontFile& file, std::uint64_t offset, const char* what) {
  const auto bytes = file.Read(offset, 2, what);
  return BlockReader(bytes, offset, what).U16();
}

// Byte encoding: 256 one-byte glyph indices after the 6-byte header.
std::uint16_t ByteEncodingIndex(const FontFile& file, std::uint64_t subtable, std::uint8_t character) {
  return file.Read(subtable + 6 + character, 1, "byte encoding table")[0];
}

// Segment mapping to delta values: the segment whose end is the first at or
// above the character maps it by a delta, or by an offset into the glyph array.
std::uint16_t SegmentMappingIndex(const FontFile& file, std::uint64_t subtable, std::uint8_t character) {
  const std::uint16_t segmentCount = U16At(file, subtable + 6, "segment mapping table") / 2;
  const std::uint64_t arrays = subtable + 14;
  const std::uint64_t arrayBytes = std::uint64_t{segmentCount} * 2;
  const auto bytes = file.Read(arrays, arrayBytes * 4 + 2, "segment arrays");
  platform::ByteReader reader = BlockReader(bytes, arrays, "segment arrays");
  for (std::uint16_t segment = 0; segment < segmentCount; ++segment) {
    reader.Seek(segment * 2);
    if (reader.U16() < character) continue;
    reader.Seek(arrayBytes + 2 + segment * 2);
    const std::uint16_t start = reader.U16();
    if (start > character) return 0;
    reader.Seek(arrayBytes * 2 + 2 + segment * 2);
    const std::uint16_t delta = reader.U16();
    const std::size_t rangeOffsetPosition = arrayBytes * 3 + 2 + segment * 2;
    reader.Seek(rangeOffsetPosition);
    const std::uint16_t rangeOffset = reader.U16();
    if (rangeOffset == 0) return static_cast<std::uint16_t>(character + delta);
    // The offset counts from the range-offset entry itself.
    const std::uint64_t entry = arrays + rangeOffsetPosition + rangeOffset + 2 * (character - start);
    const std::uint16_t glyph = U16At(file, entry, "segment glyph array");
    return glyph == 0 ? 0 : static_cast<std::uint16_t>(glyph + delta);
  }
  return 0;
}

// Trimmed table mapping: one dense range of character codes.
std::uint16_t TrimmedTableIndex(const FontFile& file, std::uint64_t subtable, std::uint8_t character) {
  const auto bytes = file.Read(subtable + 6, 4, "trimmed table");
  platform::ByteReader reader = BlockReader(bytes, subtable + 6, "trimmed table");
  const std::uint16_t firstCode = reader.U16();
  const std::uint16_t entryCount = reader.U16();
  if (character < firstCode || character - firstCode >= entryCount) return 0;
  return U16At(file, subtable + 10 + 2 * std::uint64_t(character - firstCode), "trimmed table");
}

}  // namespace

std::uint16_t GlyphIndex(const FontFile& file, const TrueTypeFont& font, std::uint8_t character) {
  if (U16At(file, std::uint64_t{font.cmap.offset} + 2, "cmap header") < 1) return 0;
  // Only the first encoding record is used; its platform and encoding are not consulted.
  const auto record = file.Read(std::uint64_t{font.cmap.offset} + 4, 8, "cmap encoding record");
  platform::ByteReader reader =
      BlockReader(record, std::uint64_t{font.cmap.offset} + 4, "cmap encoding record");
  reader.Skip(4);
  const std::uint64_t subtable = std::uint64_t{font.cmap.offset} + reader.U32();
  const std::uint16_t format = U16At(file, subtable, "cmap subtable");
  switch (format) {
    case 0:
      return ByteEncodingIndex(file, subtable, character);
    case 4:
      return SegmentMappingIndex(file, subtable, character);
    case 6:
      return TrimmedTableIndex(file, subtable, character);
    default:
      std::printf("Unsupported index mapping format: %u\n", unsigned{format});
      return character;
  }
}

}  // namespace lumetra::font
