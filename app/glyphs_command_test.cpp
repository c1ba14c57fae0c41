#include "app/glyphs_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "font/font_cache.h"
#include "font/testing/system_fonts.h"
#include "font/testing/test_font_builder.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

using font::GlyphContour;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(GlyphsCommand, ContoursBecomeQuadraticPathsThroughTheirOnCurvePoints) {
  // Starts at the first on-curve point, not at point 0.
  const GlyphContour corners{{{0.5f, 0, false}, {1, 0, true}, {1, 1, true}, {0, 1, false}, {0, 0.5f, true}}};
  EXPECT_EQ(ContourPathData(corners, 0, 0), "M1000 0L1000 -1000Q0 -1000 0 -500Q500 0 1000 0Z");
  // Two off-curve points in a row imply an on-curve point midway; (dx, dy) moves everything.
  const GlyphContour bulge{{{0, 0, true}, {0, 1, false}, {1, 1, false}, {1, 0, true}}};
  EXPECT_EQ(ContourPathData(bulge, 1, 0.5),
            "M1000 -500Q1000 -1500 1500 -1500Q2000 -1500 2000 -500L1000 -500Z");
  // No on-curve point at all: start midway between the last and the first.
  const GlyphContour circle{{{1, 0, false}, {1, 1, false}, {0, 1, false}, {0, 0, false}}};
  EXPECT_EQ(ContourPathData(circle, 0, 0),
            "M500 0Q1000 0 1000 -500Q1000 -1000 500 -1000Q0 -1000 0 -500Q0 0 500 0Z");
}

class GlyphsRun : public testing::Test {
 protected:
  void TearDown() override { font::ReleaseFonts(); }

  int Run(GlyphsArgs args) {
    out.str(""), err.str("");
    return RunGlyphs(args, out, err);
  }
  std::string Written(const std::string& name) {
    std::ifstream in(scratch / name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  platform::ScratchDirectory scratch;
  std::ostringstream out, err;
};

TEST_F(GlyphsRun, DrawsEveryGlyphOfTheTextAndItsBackFace) {
  const std::optional<std::string> liberationSans = font::testing::SystemFont("LiberationSans-Regular.ttf");
  if (!liberationSans) GTEST_SKIP() << font::testing::MissingFont("LiberationSans-Regular.ttf");
  ASSERT_EQ(Run({*liberationSans, "O k", (scratch / "flat.svg").string()}), 0) << err.str();
  const std::string flat = Written("flat.svg");
  EXPECT_EQ(flat.rfind("<?xml", 0), 0u);
  EXPECT_EQ(Count(flat, "<path"), 2u);  // the space draws nothing
  EXPECT_EQ(Count(flat, "Z"), 3u);      // O has two contours, k one
  EXPECT_GT(Count(flat, "Q"), 4u);
  EXPECT_EQ(out.str(),
            "Wrote " + (scratch / "flat.svg").string() + ": 2 glyph outline(s), 2048 units per em\n");

  GlyphsArgs deep{*liberationSans, "O k", (scratch / "deep.svg").string(), 0.5};
  deep.points = true;
  ASSERT_EQ(Run(deep), 0) << err.str();
  const std::string withDepth = Written("deep.svg");
  EXPECT_EQ(Count(withDepth, "<path"), 4u);
  EXPECT_GT(Count(withDepth, "<circle"), 10u);
}

TEST_F(GlyphsRun, AFontOrFileThatFailsWritesNothingAndSaysSo) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run({(scratch / "none.ttf").string(), "A", (scratch / "a.svg").string()}), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.str(), "lumetra: no glyphs from '" + (scratch / "none.ttf").string() + "'\n");
  EXPECT_FALSE(std::filesystem::exists(scratch / "a.svg"));

  font::testing::TestFontBuilder box;
  box.AddGlyph(font::testing::BoxGlyph(50, 0, 450, 700, 500), 'A');
  box.WriteTo(scratch / "box.ttf");
  const auto missingDirectory = (scratch / "no" / "such" / "dir.svg").string();
  EXPECT_EQ(Run({(scratch / "box.ttf").string(), "A", missingDirectory}), 1);
  EXPECT_EQ(err.str().rfind("lumetra: cannot write '" + missingDirectory + "': ", 0), 0u) << err.str();
}

}  // namespace
}  // namespace lumetra::app
