#pragma once

#include <cstdint>
#include <forward_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "font/font_file.h"
#include "font/glyph_outline.h"

namespace lumetra::font {

struct HorizontalMetric {
  std::uint16_t advanceWidth = 0;
  std::int16_t leftSideBearing = 0;
};

struct KerningPair {
  std::uint16_t left = 0;
  std::uint16_t right = 0;
  std::int16_t value = 0;
};

// A kerning subtable of format 0; the coverage word says how its values apply.
struct KerningSubtable {
  std::uint16_t coverage = 0;
  std::vector<KerningPair> pairs;
};

// Where a table lies in the file; length 0 means the font has no such table.
struct TableLocation {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  bool Present() const { return length != 0; }
};

// One font file, read once and shared by every text that uses it. The file is
// open only while it is read; glyphs are read on demand and kept.
struct TrueTypeFont {
  std::string fileName;
  std::uint16_t glyphCount = 0;
  std::uint16_t unitsPerEm = 0;
  std::int16_t indexToLocFormat = 0;
  TableLocation cmap, loca, glyf;
  std::vector<std::uint32_t> locations;  // glyphCount + 1 offsets into glyf
  std::uint16_t horizontalMetricCount = 0;
  std::vector<HorizontalMetric> metrics;               // horizontalMetricCount entries
  std::vector<std::int16_t> trailingLeftSideBearings;  // glyphs after the last full metric
  std::vector<KerningSubtable> kerning;

  std::mutex glyphMutex;                    // guards glyphs: two jobs may lay out text at once
  std::forward_list<TrueTypeGlyph> glyphs;  // newest first; entries never move or go

  // Advance and left side bearing; glyphs past the metrics table share its last advance.
  HorizontalMetric Metric(std::uint16_t glyphIndex) const;
  bool HasOutlines() const { return glyphCount != 0 && cmap.Present() && loca.Present() && glyf.Present(); }
};

// Reads the tables a text needs: the directory (its first 40 entries), head,
// maxp, hhea, the locations, the horizontal metrics and the kerning pairs.
// Throws FontFormatError when the file contradicts itself.
std::unique_ptr<TrueTypeFont> ReadTrueTypeFont(const FontFile& file);

}  // namespace lumetra::font
