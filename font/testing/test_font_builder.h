#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

namespace lumetra::font::testing {

struct TestPoint {
  int x = 0;
  int y = 0;
  bool onCurve = true;
};

// A glyph in font units. No contours and not composite: a blank glyph.
struct TestGlyph {
  std::vector<std::vector<TestPoint>> contours;
  bool composite = false;
  std::uint16_t advance = 0;
  std::int16_t leftSideBearing = 0;  // usually the glyph's xMin
};

// A square-cornered outline, wound clockwise as TrueType outer contours are.
TestGlyph BoxGlyph(int x0, int y0, int x1, int y1, std::uint16_t advance);

struct TestKerningPair {
  std::uint16_t left, right;
  std::int16_t value;
};

// Writes small TrueType files whose every byte the test controls: the tables
// a text needs, with points encoded in every way the format allows (short and
// long deltas, unchanged coordinates, repeated flags).
class TestFontBuilder {
 public:
  TestFontBuilder();  // glyph 0 is a blank .notdef

  TestFontBuilder& UnitsPerEm(std::uint16_t units);
  // Returns the new glyph's index; its character maps to it when not 0.
  std::uint16_t AddGlyph(const TestGlyph& glyph, std::uint8_t character = 0);
  // 0, 4 and 6 write a real table; any other number only that format word.
  TestFontBuilder& CmapFormat(std::uint16_t format);
  TestFontBuilder& LongLocations(bool longOffsets);
  // Metrics for the first count glyphs only; the rest share the last advance.
  TestFontBuilder& HorizontalMetricCount(std::uint16_t count);
  TestFontBuilder& AddKerning(std::uint16_t coverage, std::vector<TestKerningPair> pairs);
  // Unknown tables listed in the directory before the real ones.
  TestFontBuilder& LeadingDummyTables(int count);

  std::vector<std::uint8_t> Build() const;
  void WriteTo(const std::filesystem::path& path) const;

 private:
  std::uint16_t unitsPerEm_ = 1000;
  std::vector<TestGlyph> glyphs_;
  std::map<std::uint8_t, std::uint16_t> characters_;
  std::uint16_t cmapFormat_ = 4;
  bool longLocations_ = false;
  int metricCount_ = -1;  // all
  std::vector<std::pair<std::uint16_t, std::vector<TestKerningPair>>> kerning_;
  int dummyTables_ = 0;
};

}  // namespace lumetra::font::testing
