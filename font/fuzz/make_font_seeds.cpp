// Writes small fonts that use every part of the reader, as a fuzzing corpus:
//   make_font_seeds <directory>
#include <cstdio>
#include <filesystem>
#include <string>

#include "font/testing/test_font_builder.h"

using lumetra::font::testing::BoxGlyph;
using lumetra::font::testing::TestFontBuilder;
using lumetra::font::testing::TestGlyph;

namespace {

TestFontBuilder Seed(std::uint16_t cmapFormat, bool longLocations) {
  TestFontBuilder builder;
  builder.CmapFormat(cmapFormat).LongLocations(longLocations).UnitsPerEm(2048);
  builder.AddGlyph(BoxGlyph(50, 0, 450, 700, 500), 'A');
  TestGlyph curve;
  curve.contours = {{{0, 0}, {0, 300, false}, {300, 300}, {600, 300, false}, {600, -400}},
                    {{100, 100}, {100, 100, false}, {5000, 200}}};
  curve.advance = 700;
  builder.AddGlyph(curve, 'O');
  TestGlyph composite;
  composite.composite = true;
  builder.AddGlyph(composite, 0xE9);
  builder.AddGlyph(TestGlyph{}, 'x');
  builder.AddKerning(0x0001, {{1, 2, -80}}).AddKerning(0x000F, {{1, 2, 4}}).AddKerning(0x0201, {{0, 0, 0}});
  return builder;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_font_seeds <directory>\n");
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  for (const std::uint16_t format : {0, 4, 6, 12}) {
    for (const bool longLocations : {false, true}) {
      Seed(format, longLocations)
          .WriteTo(directory / ("cmap" + std::to_string(format) + (longLocations ? "-long" : "") + ".ttf"));
    }
  }
  Seed(4, false).HorizontalMetricCount(2).LeadingDummyTables(35).WriteTo(directory / "many-tables.ttf");
  return 0;
}
