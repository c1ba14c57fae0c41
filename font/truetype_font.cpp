#include "font/truetype_font.h"

#include <algorithm>
#include <array>
#include <string>

namespace lumetra::font {
namespace {

// The table tags as the system keeps them: eight 4-byte groups, each the tag
// reversed, so that a group read as a little-endian number is the tag as a
// big-endian one.
constexpr char kTableTags[] = "pamcdaehfylgacolnrekpxamaehhxtmh";

enum Table { kCmap, kHead, kGlyf, kLoca, kKern, kMaxp, kHhea, kHmtx, kTableCount };

constexpr std::uint32_t TagOf(Table table) {
  std::uint32_t tag = 0;
  for (int i = 3; i >= 0; --i) tag = tag << 8 | static_cast<unsigned char>(kTableTags[table * 4 + i]);
  return tag;
}
static_assert(TagOf(kCmap) == 0x636D6170 && TagOf(kHmtx) == 0x686D7478);

constexpr std::size_t kOffsetTableSize = 12;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::uint16_t kMaxDirectoryEntries = 40;
constexpr std::size_t kHeadBytesNeeded = 52;             // through the index-to-location format
constexpr std::uint16_t kFormatZeroCoverageLimit = 255;  // above: a subtable of another format

using Directory = std::array<TableLocation, kTableCount>;

Directory ReadDirectory(const FontFile& file) {
  const auto offsetTable = file.Read(0, kOffsetTableSize, "offset table");
  platform::ByteReader header = BlockReader(offsetTable, 0, "offset table");
  header.Skip(4);  // sfnt version
  const std::uint16_t entries = std::min(header.U16(), kMaxDirectoryEntries);
  const auto bytes = file.Read(kOffsetTableSize, entries * kDirectoryEntrySize, "table directory");
  platform::ByteReader directory = BlockReader(bytes, kOffsetTableSize, "table directory");
  Directory tables{};
  for (std::uint16_t i = 0; i < entries; ++i) {
    const std::uint32_t tag = directory.U32();
    directory.Skip(4);  // checksum
    const TableLocation location{directory.U32(), directory.U32()};
    for (int table = 0; table < kTableCount; ++table) {
      if (tag == TagOf(static_cast<Table>(table))) tables[table] = location;
    }
  }
  return tables;
}

// The first size bytes of a table that must hold at least that many.
std::vector<std::uint8_t> TableStart(const FontFile& file, const TableLocation& table, std::size_t size,
                                     const char* what) {
  if (table.length < size) {
    throw FontFormatError(std::string("the ") + what + " table holds " + std::to_string(table.length) +
                          " bytes, fewer than the " + std::to_string(size) + " it needs");
  }
  return file.Read(table.offset, size, what);
}

void ReadHead(const FontFile& file, const TableLocation& head, TrueTypeFont& font) {
  if (!head.Present()) throw FontFormatError("the font has no head table");
  const auto bytes = TableStart(file, head, kHeadBytesNeeded, "head");
  platform::ByteReader reader = BlockReader(bytes, head.offset, "head table");
  reader.Seek(18);
  font.unitsPerEm = reader.U16();
  reader.Seek(50);
  font.indexToLocFormat = reader.I16();
  if (font.unitsPerEm == 0) throw FontFormatError("the head table gives 0 units per em");
  if (font.indexToLocFormat != 0 && font.indexToLocFormat != 1) {
    throw FontFormatError("unknown index-to-location format " + std::to_string(font.indexToLocFormat));
  }
}

// A 16-bit count at offset within a table, or 0 when the font lacks the table.
std::uint16_t ReadCount(const FontFile& file, const TableLocation& table, std::size_t offset,
                        const char* what) {
  if (!table.Present()) return 0;
  const auto bytes = TableStart(file, table, offset + 2, what);
  platform::ByteReader reader = BlockReader(bytes, table.offset, what);
  reader.Seek(offset);
  return reader.U16();
}

void ReadLocations(const FontFile& file, TrueTypeFont& font) {
  if (!font.loca.Present() || font.glyphCount == 0) return;
  const std::size_t width = font.indexToLocFormat == 0 ? 2 : 4;
  const std::size_t count = std::size_t{font.glyphCount} + 1;
  const auto bytes = file.Read(font.loca.offset, count * width, "location table");
  platform::ByteReader reader = BlockReader(bytes, font.loca.offset, "location table");
  font.locations.resize(count);
  for (auto& location : font.locations) {
    // The short format stores offsets halved.
    location = width == 2 ? std::uint32_t{reader.U16()} * 2 : reader.U32();
  }
}

void ReadMetrics(const FontFile& file, const TableLocation& hmtx, TrueTypeFont& font) {
  if (!hmtx.Present() || font.horizontalMetricCount == 0) return;
  const std::size_t fullBytes = std::size_t{font.horizontalMetricCount} * 4;
  const auto bytes = file.Read(hmtx.offset, fullBytes, "horizontal metrics");
  platform::ByteReader reader = BlockReader(bytes, hmtx.offset, "horizontal metrics");
  font.metrics.resize(font.horizontalMetricCount);
  for (auto& metric : font.metrics) {
    metric.advanceWidth = reader.U16();
    metric.leftSideBearing = reader.I16();
  }
  // The bearings of the remaining glyphs follow, as far as the table holds them.
  const std::size_t trailing =
      font.glyphCount > font.horizontalMetricCount ? font.glyphCount - font.horizontalMetricCount : 0;
  const std::size_t room = hmtx.length > fullBytes ? (hmtx.length - fullBytes) / 2 : 0;
  const auto rest = file.Read(hmtx.offset + fullBytes, std::min(trailing, room) * 2, "left side bearings");
  platform::ByteReader bearings = BlockReader(rest, hmtx.offset + fullBytes, "left side bearings");
  font.trailingLeftSideBearings.resize(rest.size() / 2);
  for (auto& bearing : font.trailingLeftSideBearings) bearing = bearings.I16();
}

KerningSubtable ReadKerningPairs(platform::ByteReader& reader, std::uint16_t coverage) {
  KerningSubtable subtable{coverage, {}};
  const std::uint16_t pairCount = reader.U16();
  reader.Skip(6);  // search range, entry selector, range shift
  reader.Need(std::size_t{pairCount} * 6);
  subtable.pairs.resize(pairCount);
  for (auto& pair : subtable.pairs) {
    pair.left = reader.U16();
    pair.right = reader.U16();
    pair.value = reader.I16();
  }
  return subtable;
}

void ReadKerning(const FontFile& file, const TableLocation& kern, TrueTypeFont& font) {
  if (!kern.Present()) return;
  const auto bytes = file.Read(kern.offset, kern.length, "kern table");
  platform::ByteReader reader = BlockReader(bytes, kern.offset, "kern table");
  reader.Skip(2);  // version
  const std::uint16_t subtableCount = reader.U16();
  for (std::uint16_t i = 0; i < subtableCount; ++i) {
    const std::size_t start = reader.Position();
    reader.Skip(2);  // version
    const std::uint16_t length = reader.U16();
    const std::uint16_t coverage = reader.U16();
    if (coverage > kFormatZeroCoverageLimit) {
      if (length < 6)
        throw FontFormatError("kerning subtable " + std::to_string(i) + " is " + std::to_string(length) +
                              " bytes long, shorter than its header");
      reader.Seek(start + length);
      continue;
    }
    font.kerning.push_back(ReadKerningPairs(reader, coverage));
  }
}

}  // namespace

HorizontalMetric TrueTypeFont::Metric(std::uint16_t glyphIndex) const {
  if (glyphIndex < metrics.size()) return metrics[glyphIndex];
  HorizontalMetric metric;
  if (!metrics.empty()) metric.advanceWidth = metrics.back().advanceWidth;
  const std::size_t trailing = glyphIndex - metrics.size();
  if (trailing < trailingLeftSideBearings.size()) metric.leftSideBearing = trailingLeftSideBearings[trailing];
  return metric;
}

std::unique_ptr<TrueTypeFont> ReadTrueTypeFont(const FontFile& file) {
  auto font = std::make_unique<TrueTypeFont>();
  font->fileName = file.Name();
  const Directory tables = ReadDirectory(file);
  font->cmap = tables[kCmap];
  font->loca = tables[kLoca];
  font->glyf = tables[kGlyf];
  ReadHead(file, tables[kHead], *font);
  font->glyphCount = ReadCount(file, tables[kMaxp], 4, "maxp");
  font->horizontalMetricCount = ReadCount(file, tables[kHhea], 34, "hhea");
  ReadLocations(file, *font);
  ReadMetrics(file, tables[kHmtx], *font);
  ReadKerning(file, tables[kKern], *font);
  return font;
}

}  // namespace lumetra::font
