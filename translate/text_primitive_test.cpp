#include "translate/text_primitive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "font/font_cache.h"
#include "font/kerning.h"
#include "font/testing/font_probe.h"
#include "font/testing/system_fonts.h"
#include "font/testing/test_font_builder.h"
#include "platform/debug_log.h"
#include "platform/testing/recording_messages.h"
#include "platform/testing/scratch_directory.h"
#include "renderlib/testing/render_call_recorder.h"

namespace lumetra::translate {
namespace {

using font::testing::BoxGlyph;
using font::testing::FontProbe;
using font::testing::TestFontBuilder;
using font::testing::TestGlyph;
using renderlib::testing::RecordedCall;
using renderlib::testing::RenderCallRecorder;

constexpr L2Scene kScene = 3;

std::vector<std::string> Names(const std::vector<RecordedCall>& calls) {
  std::vector<std::string> names;
  for (const auto& call : calls) names.push_back(call.name);
  return names;
}

// Where the recorder saw glyph number `ordinal` placed: its first contour's
// first point minus that point in the font.
std::pair<double, double> Placement(const RenderCallRecorder& recorder, const font::TrueTypeGlyph& glyph,
                                    int ordinal) {
  const auto contours = recorder.CallsOf("AddContour");
  int seen = -1;
  for (const auto& call : contours) {
    if (call.arguments.at(1) == recorder.CallsOf("CreateGlyph").at(ordinal).result && ++seen == 0) {
      const font::GlyphPoint& first = glyph.contours.at(0).points.at(0);
      return {call.values.at(0) - first.x, call.values.at(1) - first.y};
    }
  }
  ADD_FAILURE() << "glyph " << ordinal << " has no contour";
  return {};
}

class TextPrimitiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    font::ReleaseFonts();
    platform::DebugLog::Clear();
    TestFontBuilder builder;
    builder.UnitsPerEm(1000);
    builder.AddGlyph(BoxGlyph(50, 0, 450, 700, 500), 'A');
    TestGlyph v = BoxGlyph(20, 0, 480, 700, 520);
    v.leftSideBearing = 30;  // differs from xMin, so the placement shows both
    builder.AddGlyph(v, 'V');
    TestGlyph ring;  // two contours with off-curve points
    ring.contours = {{{100, 0}, {100, 700, false}, {500, 700}, {500, 0, false}},
                     {{200, 100}, {400, 100}, {300, 600, false}}};
    ring.advance = 600;
    ring.leftSideBearing = 100;
    builder.AddGlyph(ring, 'O');
    TestGlyph composite;
    composite.composite = true;
    builder.AddGlyph(composite, 'K');
    builder.AddKerning(font::kKerningHorizontal, {{1, 1, -15}, {1, 2, -80}});
    builder.AddKerning(font::kKerningHorizontal | font::kKerningCrossStream, {{1, 2, 40}});
    fontPath = (scratch / "test.ttf").string();
    builder.WriteTo(fontPath);
    font = font::LoadFont(fontPath);
    ASSERT_TRUE(font);
  }
  void TearDown() override { font::ReleaseFonts(); }

  const font::TrueTypeGlyph& Glyph(char character) {
    return *font::GetGlyph(*font, static_cast<std::uint8_t>(character));
  }

  platform::ScratchDirectory scratch;
  std::string fontPath;
  std::shared_ptr<font::TrueTypeFont> font;
  RenderCallRecorder recorder;
  platform::RecordingMessages messages;
};

TEST_F(TextPrimitiveTest, GlyphsAreExtrudedAndJoinedInABalancedUnion) {
  const L2Primitive text = MakeTextPrimitive(kScene, fontPath, "AVO", 0.3, 0, 0);
  const auto calls = recorder.Calls();
  EXPECT_THAT(Names(calls), ::testing::ElementsAre("CreateGlyph", "AddContour", "SetGlyphExtrusion",  //
                                                   "CreateGlyph", "AddContour", "SetGlyphExtrusion",  //
                                                   "CreateGlyph", "AddContour", "AddContour",
                                                   "SetGlyphExtrusion", "CreateCSGPrim", "CreateCSGPrim",
                                                   "CreateCSGPrim", "CreateCSG", "CreateCSG"));
  EXPECT_EQ(recorder.CsgTree(text), "(1 leaf(1) (1 leaf(2) leaf(3)))");
  for (const auto& extrusion : recorder.CallsOf("SetGlyphExtrusion")) {
    EXPECT_THAT(extrusion.arguments, ::testing::ElementsAre(kScene, ::testing::_, 0.0, 0.0, 0.3));
  }
  for (const auto& call : calls) EXPECT_EQ(call.arguments.at(0), kScene) << call.name;
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(TextPrimitiveTest, ContoursGoReversedAndClosedInTheirFontOrder) {
  MakeTextPrimitive(kScene, fontPath, "O", 1, 0, 0);
  const auto contours = recorder.CallsOf("AddContour");
  ASSERT_EQ(contours.size(), 2u);
  // The first glyph starts at its left edge: x - xMin / units per em.
  const double dx = -0.1;
  EXPECT_THAT(contours[0].arguments, ::testing::ElementsAre(kScene, 1, 3, 5));
  EXPECT_THAT(contours[0].values,
              ::testing::Pointwise(::testing::DoubleNear(1e-6),
                                   std::vector<double>{0.1 + dx, 0, 0, 0.5 + dx, 0, 1, 0.5 + dx, 0.7, 0,
                                                       0.1 + dx, 0.7, 1, 0.1 + dx, 0, 0}));
  EXPECT_THAT(contours[1].arguments, ::testing::ElementsAre(kScene, 1, 3, 4));
  EXPECT_THAT(contours[1].values,
              ::testing::Pointwise(::testing::DoubleNear(1e-6),
                                   std::vector<double>{0.2 + dx, 0.1, 0, 0.3 + dx, 0.6, 1, 0.4 + dx, 0.1, 0,
                                                       0.2 + dx, 0.1, 0}));
}

TEST_F(TextPrimitiveTest, KerningSpacingAndRisePlaceTheNextGlyph) {
  MakeTextPrimitive(kScene, fontPath, "AVA", 1, 0.25, 0.5);
  // A: pen to (advance - bearing) = 0.45, + spacing. V: + (bearing - xMin + kerning) = (30 - 20 - 80) / 1000,
  // raised by the rise and the cross-stream kerning 40 / 1000.
  const auto [vx, vy] = Placement(recorder, Glyph('V'), 1);
  EXPECT_NEAR(vx, 0.45 + 0.25 + (30 - 20 - 80) / 1000.0, 1e-6);
  EXPECT_NEAR(vy, 0.5 + 0.04, 1e-6);
  // Kerning moves only its glyph: the pen goes on by V's advance, no V-A pair.
  const auto [ax, ay] = Placement(recorder, Glyph('A'), 2);
  EXPECT_NEAR(ax, 0.45 + 0.25 + 0.52 + 0.25, 1e-6);
  EXPECT_NEAR(ay, 1.0, 1e-6);
}

TEST_F(TextPrimitiveTest, SpacesAddOnlySpacingAndBreakTheKerningChain) {
  EXPECT_EQ(MakeTextPrimitive(kScene, fontPath, "", 1, 0, 0), 0u);
  EXPECT_EQ(MakeTextPrimitive(kScene, fontPath, "   ", 1, 0.5, 0), 0u);
  EXPECT_TRUE(recorder.Calls().empty());

  MakeTextPrimitive(kScene, fontPath, "A A", 1, 0.125, 0);
  const auto [x, y] = Placement(recorder, Glyph('A'), 1);
  EXPECT_NEAR(x, 0.45 + 0.125 + 0.125 + (50 - 50) / 1000.0, 1e-6);  // no A-A kerning of -15
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(TextPrimitiveTest, AGlyphThatCannotBeMadeIsReportedOncePerText) {
  recorder.FailNext("CreateGlyph");
  recorder.FailNext("AddContour");
  ::testing::internal::CaptureStdout();
  const L2Primitive text = MakeTextPrimitive(kScene, fontPath, "AKVO", 1, 0, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Can't handle multiple component glyphs\n");
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.Calls()[0].caption, "Error");
  EXPECT_EQ(messages.Calls()[0].text, "Failed to process truetype");
  EXPECT_THAT(platform::DebugLog::Lines(),
              ::testing::Contains("Bad TTF Object, Font: '" + fontPath + "', Text: 'AKVO'\n"));
  // A failed, K is composite, V lost its contour: only O is left.
  EXPECT_EQ(recorder.CsgTree(text), "leaf(2)");
}

TEST_F(TextPrimitiveTest, AFontThatCannotBeOpenedGivesNoPrimitive) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MakeTextPrimitive(kScene, (scratch / "none.ttf").string(), "AV", 1, 0, 0), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Can't open font file: '" + (scratch / "none.ttf").string() + "'\n");
  EXPECT_EQ(messages.Count(), 1u);
  EXPECT_TRUE(recorder.Calls().empty());
}

// Real fonts: values read by an independent reader of the same file.
class RealFontText : public ::testing::Test {
 protected:
  void SetUp() override {
    font::ReleaseFonts();
    for (auto [name, path] : {std::pair{"LiberationSans-Regular.ttf", &liberationSans},
                              std::pair{"DejaVuSans.ttf", &dejaVuSans}}) {
      const std::optional<std::string> found = font::testing::SystemFont(name);
      if (!found) GTEST_SKIP() << font::testing::MissingFont(name);
      *path = *found;
    }
  }
  void TearDown() override { font::ReleaseFonts(); }
  RenderCallRecorder recorder;
  std::string liberationSans, dejaVuSans;
};

TEST_F(RealFontText, AVIsKernedByTheKernTableValue) {
  const FontProbe probe(liberationSans);
  const std::uint16_t a = probe.GlyphOf('A'), v = probe.GlyphOf('V');
  const int kerning = probe.Kerning(a, v);
  ASSERT_LT(kerning, 0) << "Liberation Sans kerns A and V in its kern table";
  const double units = probe.UnitsPerEm();

  MakeTextPrimitive(kScene, liberationSans, "AV", 1, 0, 0);
  const auto font = font::LoadFont(liberationSans);
  const auto [x, y] = Placement(recorder, *font::GetGlyph(*font, 'V'), 1);
  const double pen = (probe.Advance(a) - probe.LeftSideBearing(a)) / units;
  EXPECT_NEAR(x, pen + (probe.LeftSideBearing(v) - probe.XMin(v) + kerning) / units, 1e-6);
  EXPECT_NEAR(y, 0, 1e-9);
}

TEST_F(RealFontText, ThePenAdvancesByTheMetricsTable) {
  const FontProbe probe(dejaVuSans);
  const std::uint16_t n = probe.GlyphOf('n'), w = probe.GlyphOf('w');
  MakeTextPrimitive(kScene, dejaVuSans, "nwnn", 1, 0, 0);
  const auto font = font::LoadFont(dejaVuSans);
  const double units = probe.UnitsPerEm();
  const auto [x1, y1] = Placement(recorder, *font::GetGlyph(*font, 'w'), 1);
  const auto [x2, y2] = Placement(recorder, *font::GetGlyph(*font, 'n'), 2);
  const auto [x3, y3] = Placement(recorder, *font::GetGlyph(*font, 'n'), 3);
  const double bearingN = (probe.LeftSideBearing(n) - probe.XMin(n)) / units;
  EXPECT_NEAR(x1,
              (probe.Advance(n) - probe.LeftSideBearing(n) + probe.LeftSideBearing(w) - probe.XMin(w) +
               probe.Kerning(n, w)) /
                  units,
              1e-6);
  EXPECT_NEAR(x2 - x1,
              (probe.Advance(w) + probe.Kerning(w, n) - probe.Kerning(n, w)) / units + bearingN -
                  (probe.LeftSideBearing(w) - probe.XMin(w)) / units,
              1e-6);
  EXPECT_NEAR(x3 - x2, (probe.Advance(n) + probe.Kerning(n, n) - probe.Kerning(w, n)) / units, 1e-6);
}

TEST_F(RealFontText, OHasItsTwoContoursInFileOrder) {
  for (const std::string& path : {liberationSans, dejaVuSans}) {
    RenderCallRecorder fresh;
    const FontProbe probe(path);
    ASSERT_EQ(probe.ContourCount(probe.GlyphOf('O')), 2) << path;
    const L2Primitive text = MakeTextPrimitive(kScene, path, "O", 1, 0, 0);
    EXPECT_EQ(fresh.CsgTree(text), "leaf(1)");
    const auto font = font::LoadFont(path);
    const font::TrueTypeGlyph& o = *font::GetGlyph(*font, 'O');
    const auto contours = fresh.CallsOf("AddContour");
    ASSERT_EQ(contours.size(), 2u) << path;
    const double dx = -o.xMin / static_cast<double>(font->unitsPerEm);
    for (std::size_t c = 0; c < 2; ++c) {
      const auto& points = o.contours[c].points;
      const auto& values = contours[c].values;
      ASSERT_EQ(values.size(), (points.size() + 1) * 3) << path;
      EXPECT_NEAR(values[0], points[0].x + dx, 1e-6);
      EXPECT_NEAR(values[3], points.back().x + dx, 1e-6);
      EXPECT_NEAR(values[4], points.back().y, 1e-6);
      EXPECT_EQ(values[5], points.back().onCurve ? 0.0 : 1.0);
      EXPECT_TRUE(std::equal(values.begin(), values.begin() + 3, values.end() - 3)) << "closed";
    }
  }
}

}  // namespace
}  // namespace lumetra::translate
