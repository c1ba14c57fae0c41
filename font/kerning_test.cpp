#include "font/kerning.h"

#include <gtest/gtest.h>

#include "font/truetype_font.h"

namespace lumetra::font {
namespace {

struct KerningCase {
  const char* what;
  std::vector<KerningSubtable> subtables;
  Kerning expected;
};

void PrintTo(const KerningCase& kerningCase, std::ostream* out) { *out << kerningCase.what; }

// Pair (3, 7) in every subtable unless a case says otherwise; 1000 units per em.
KerningSubtable Table(std::uint16_t coverage, std::int16_t value) {
  return {coverage, {{1, 7, 99}, {3, 7, value}, {4, 1, 99}}};
}

class CoverageBits : public ::testing::TestWithParam<KerningCase> {};

TEST_P(CoverageBits, CombineAsTheCoverageWordSays) {
  TrueTypeFont font;
  font.unitsPerEm = 1000;
  font.kerning = GetParam().subtables;
  const Kerning kerning = KerningFor(font, 3, 7);
  EXPECT_EQ(kerning.horizontal, GetParam().expected.horizontal) << GetParam().what;
  EXPECT_EQ(kerning.vertical, GetParam().expected.vertical) << GetParam().what;
}

constexpr std::uint16_t H = kKerningHorizontal, MIN = kKerningMinimum, CROSS = kKerningCrossStream,
                        OVERRIDE = kKerningOverride;

INSTANTIATE_TEST_SUITE_P(
    Kerning, CoverageBits,
    ::testing::Values(
        KerningCase{"horizontal values add up", {Table(H, -50), Table(H, -20)}, {-70, 0}},
        KerningCase{"override replaces what came before",
                    {Table(H, -50), Table(H | OVERRIDE, 30), Table(H, -5)},
                    {25, 0}},
        KerningCase{
            "cross-stream adds to the vertical", {Table(H | CROSS, 12), Table(H | CROSS, 3)}, {0, 15}},
        KerningCase{
            "cross-stream override", {Table(H | CROSS, 12), Table(H | CROSS | OVERRIDE, -4)}, {0, -4}},
        KerningCase{"a minimum raises the horizontal", {Table(H, -100), Table(H | MIN, -30)}, {-30, 0}},
        KerningCase{"a minimum below leaves it", {Table(H, -10), Table(H | MIN, -30)}, {-10, 0}},
        KerningCase{"cross-stream minimum raises the vertical",
                    {Table(H | CROSS, -80), Table(H | MIN | CROSS, -20)},
                    {0, -20}},
        KerningCase{"without a minimum, -units per em is the floor",
                    {Table(H, -1500), Table(H | CROSS, -2000)},
                    {-1000, -1000}},
        KerningCase{"vertical subtables are ignored", {Table(0, -50), Table(CROSS, 9)}, {0, 0}},
        KerningCase{"the scan stops once the left glyph has passed",
                    {{H, {{1, 7, -1}, {5, 7, -2}, {3, 7, -3}}}},
                    {0, 0}},
        KerningCase{"no subtables", {}, {0, 0}}),
    [](const ::testing::TestParamInfo<KerningCase>& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace lumetra::font
