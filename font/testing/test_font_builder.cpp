#include "font/testing/test_font_builder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace lumetra::font::testing {
namespace {

class Bytes {
 public:
  void U8(int value) { data.push_back(static_cast<std::uint8_t>(value)); }
  void U16(int value) {
    U8(value >> 8 & 0xFF);
    U8(value & 0xFF);
  }
  void U32(std::uint32_t value) {
    U16(static_cast<int>(value >> 16));
    U16(static_cast<int>(value & 0xFFFF));
  }
  void Tag(const char* tag) { data.insert(data.end(), tag, tag + 4); }
  void Pad() {
    while (data.size() % 4) U8(0);
  }
  std::vector<std::uint8_t> data;
};

// Flags and deltas of one axis, choosing the shortest encoding for each delta.
void EncodeDelta(int delta, int shortBit, int sameBit, int& flag, Bytes& out) {
  if (delta == 0) {
    flag |= sameBit;
  } else if (delta >= -255 && delta <= 255) {
    flag |= shortBit | (delta > 0 ? sameBit : 0);
    out.U8(delta > 0 ? delta : -delta);
  } else {
    out.U16(delta & 0xFFFF);
  }
}

std::vector<std::uint8_t> SimpleGlyph(const TestGlyph& glyph) {
  std::vector<TestPoint> points;
  Bytes header, flags, xs, ys;
  for (const auto& contour : glyph.contours) points.insert(points.end(), contour.begin(), contour.end());
  auto [minX, maxX] =
      std::minmax_element(points.begin(), points.end(), [](auto a, auto b) { return a.x < b.x; });
  auto [minY, maxY] =
      std::minmax_element(points.begin(), points.end(), [](auto a, auto b) { return a.y < b.y; });
  header.U16(static_cast<int>(glyph.contours.size()));
  header.U16(minX->x), header.U16(minY->y), header.U16(maxX->x), header.U16(maxY->y);
  int end = -1;
  for (const auto& contour : glyph.contours) header.U16(end += static_cast<int>(contour.size()));
  header.U16(2), header.U8(0xB0), header.U8(0x01);  // two bytes of instructions to skip
  std::vector<int> pointFlags;
  int x = 0, y = 0;
  for (const TestPoint& point : points) {
    int flag = point.onCurve ? 1 : 0;
    EncodeDelta(point.x - x, 0x02, 0x10, flag, xs);
    EncodeDelta(point.y - y, 0x04, 0x20, flag, ys);
    x = point.x, y = point.y;
    pointFlags.push_back(flag);
  }
  for (std::size_t i = 0; i < pointFlags.size();) {
    std::size_t run = 1;
    while (i + run < pointFlags.size() && pointFlags[i + run] == pointFlags[i] && run < 256) ++run;
    if (run > 1) {
      flags.U8(pointFlags[i] | 0x08), flags.U8(static_cast<int>(run - 1));
    } else {
      flags.U8(pointFlags[i]);
    }
    i += run;
  }
  for (const Bytes* part : {&flags, &xs, &ys})
    header.data.insert(header.data.end(), part->data.begin(), part->data.end());
  return header.data;
}

std::vector<std::uint8_t> CompositeGlyph() {
  Bytes out;
  out.U16(0xFFFF), out.U16(0), out.U16(0), out.U16(100), out.U16(100);
  out.U16(0x0002), out.U16(1), out.U8(0), out.U8(0);  // one component: glyph 1, byte offsets
  return out.data;
}

void SegmentMapping(const std::map<std::uint8_t, std::uint16_t>& characters, Bytes& out) {
  // One segment per character; every other one goes through the glyph array.
  const int segments = static_cast<int>(characters.size()) + 1;
  std::vector<std::pair<std::uint8_t, std::uint16_t>> entries(characters.begin(), characters.end());
  out.U16(4), out.U16(16 + segments * 8 + static_cast<int>(entries.size()) * 2), out.U16(0);
  out.U16(segments * 2), out.U16(0), out.U16(0), out.U16(0);
  for (const auto& [character, glyph] : entries) out.U16(character);
  out.U16(0xFFFF), out.U16(0);
  for (const auto& [character, glyph] : entries) out.U16(character);
  out.U16(0xFFFF);
  for (std::size_t i = 0; i < entries.size(); ++i) out.U16(i % 2 ? entries[i].second - entries[i].first : 0);
  out.U16(1);
  int arrayIndex = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int toArray = static_cast<int>(segments - i) * 2 + arrayIndex * 2;
    out.U16(i % 2 ? 0 : toArray);
    arrayIndex += i % 2 ? 0 : 1;
  }
  out.U16(0);
  for (std::size_t i = 0; i < entries.size(); i += 2) out.U16(entries[i].second);
}

std::vector<std::uint8_t> CharacterMap(std::uint16_t format,
                                       const std::map<std::uint8_t, std::uint16_t>& characters) {
  Bytes out;
  out.U16(0), out.U16(1), out.U16(3), out.U16(1), out.U32(12);
  if (format == 0) {
    out.U16(0), out.U16(262), out.U16(0);
    for (int c = 0; c < 256; ++c) out.U8(characters.count(c) ? characters.at(c) : 0);
  } else if (format == 4) {
    SegmentMapping(characters, out);
  } else if (format == 6) {
    const int first = characters.empty() ? 0 : characters.begin()->first;
    const int count = characters.empty() ? 0 : characters.rbegin()->first - first + 1;
    out.U16(6), out.U16(10 + count * 2), out.U16(0), out.U16(first), out.U16(count);
    for (int c = first; c < first + count; ++c) out.U16(characters.count(c) ? characters.at(c) : 0);
  } else {
    out.U16(format), out.U16(0), out.U32(0);
  }
  return out.data;
}

}  // namespace

TestGlyph BoxGlyph(int x0, int y0, int x1, int y1, std::uint16_t advance) {
  TestGlyph glyph;
  glyph.contours = {{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}};
  glyph.advance = advance;
  glyph.leftSideBearing = static_cast<std::int16_t>(x0);
  return glyph;
}

TestFontBuilder::TestFontBuilder() { glyphs_.push_back({}); }

TestFontBuilder& TestFontBuilder::UnitsPerEm(std::uint16_t units) {
  unitsPerEm_ = units;
  return *this;
}

std::uint16_t TestFontBuilder::AddGlyph(const TestGlyph& glyph, std::uint8_t character) {
  glyphs_.push_back(glyph);
  const auto index = static_cast<std::uint16_t>(glyphs_.size() - 1);
  if (character != 0) characters_[character] = index;
  return index;
}

TestFontBuilder& TestFontBuilder::CmapFormat(std::uint16_t format) {
  cmapFormat_ = format;
  return *this;
}

TestFontBuilder& TestFontBuilder::LongLocations(bool longOffsets) {
  longLocations_ = longOffsets;
  return *this;
}

TestFontBuilder& TestFontBuilder::HorizontalMetricCount(std::uint16_t count) {
  metricCount_ = count;
  return *this;
}

TestFontBuilder& TestFontBuilder::AddKerning(std::uint16_t coverage, std::vector<TestKerningPair> pairs) {
  kerning_.emplace_back(coverage, std::move(pairs));
  return *this;
}

TestFontBuilder& TestFontBuilder::LeadingDummyTables(int count) {
  dummyTables_ = count;
  return *this;
}

std::vector<std::uint8_t> TestFontBuilder::Build() const {
  const int glyphCount = static_cast<int>(glyphs_.size());
  const int metricCount = metricCount_ < 0 ? glyphCount : metricCount_;
  Bytes glyf, loca, hmtx, head, maxp, hhea, kern;
  for (const TestGlyph& glyph : glyphs_) {
    longLocations_ ? loca.U32(static_cast<std::uint32_t>(glyf.data.size()))
                   : loca.U16(static_cast<int>(glyf.data.size() / 2));
    const auto bytes = glyph.composite          ? CompositeGlyph()
                       : glyph.contours.empty() ? std::vector<std::uint8_t>{}
                                                : SimpleGlyph(glyph);
    glyf.data.insert(glyf.data.end(), bytes.begin(), bytes.end());
    while (glyf.data.size() % 2) glyf.U8(0);
  }
  longLocations_ ? loca.U32(static_cast<std::uint32_t>(glyf.data.size()))
                 : loca.U16(static_cast<int>(glyf.data.size() / 2));
  for (int i = 0; i < glyphCount; ++i) {
    if (i < metricCount) hmtx.U16(glyphs_[i].advance);
    hmtx.U16(glyphs_[i].leftSideBearing & 0xFFFF);
  }
  head.U32(0x00010000), head.U32(0), head.U32(0), head.U32(0x5F0F3CF5), head.U16(0), head.U16(unitsPerEm_);
  while (head.data.size() < 50) head.U8(0);
  head.U16(longLocations_ ? 1 : 0), head.U16(0);
  maxp.U32(0x00005000), maxp.U16(glyphCount);
  hhea.U32(0x00010000);
  while (hhea.data.size() < 34) hhea.U8(0);
  hhea.U16(metricCount);
  if (!kerning_.empty()) {
    kern.U16(0), kern.U16(static_cast<int>(kerning_.size()));
    for (const auto& [coverage, pairs] : kerning_) {
      kern.U16(0), kern.U16(14 + static_cast<int>(pairs.size()) * 6), kern.U16(coverage);
      if (coverage > 255) {  // another format: a body the reader skips by the length
        for (std::size_t i = 0; i < 8 + pairs.size() * 6; ++i) kern.U8(0xEE);
        continue;
      }
      kern.U16(static_cast<int>(pairs.size())), kern.U16(0), kern.U16(0), kern.U16(0);
      for (const auto& pair : pairs) kern.U16(pair.left), kern.U16(pair.right), kern.U16(pair.value & 0xFFFF);
    }
  }
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> tables;
  for (int i = 0; i < dummyTables_; ++i) tables.push_back({"zz" + std::to_string(10 + i % 90), {1, 2, 3, 4}});
  tables.push_back({"cmap", CharacterMap(cmapFormat_, characters_)});
  tables.push_back({"glyf", glyf.data});
  tables.push_back({"head", head.data});
  tables.push_back({"hhea", hhea.data});
  tables.push_back({"hmtx", hmtx.data});
  tables.push_back({"loca", loca.data});
  tables.push_back({"maxp", maxp.data});
  if (!kern.data.empty()) tables.push_back({"kern", kern.data});  // last, to fall past a directory limit

  Bytes font;
  font.U32(0x00010000), font.U16(static_cast<int>(tables.size())), font.U16(0), font.U16(0), font.U16(0);
  std::uint32_t offset = static_cast<std::uint32_t>(12 + tables.size() * 16);
  for (const auto& [tag, data] : tables) {
    font.Tag(tag.c_str()), font.U32(0), font.U32(offset), font.U32(static_cast<std::uint32_t>(data.size()));
    offset += static_cast<std::uint32_t>((data.size() + 3) / 4 * 4);
  }
  for (const auto& [tag, data] : tables) {
    font.data.insert(font.data.end(), data.begin(), data.end());
    font.Pad();
  }
  return font.data;
}

void TestFontBuilder::WriteTo(const std::filesystem::path& path) const {
  const auto bytes = Build();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write the test font " + path.string());
}

}  // namespace lumetra::font::testing
