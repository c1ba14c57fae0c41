#include "povbridge/pov_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lumetra::povbridge {
namespace {

// What /usr/bin/povray 3.7 wrote to its standard error rendering povray-sphere.pov.
std::string Captured(const std::string& name) {
  std::ifstream file(std::string(LUMETRA_POV_TESTDATA) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The percentage POV-Ray printed on the last progress line that ended before `end`.
std::optional<int> PrintedBefore(const std::string& text, size_t end) {
  if (end < 3) return std::nullopt;
  const size_t close = text.rfind("%)\r", end - 3);
  if (close == std::string::npos) return std::nullopt;
  return std::stoi(text.substr(text.rfind('(', close) + 1));
}

// Feeds the text in pieces of `pieceSize`; after each piece the follower must hold what
// POV-Ray printed last. Returns the percentages in the order they appeared.
std::vector<int> Follow(const std::string& text, size_t pieceSize) {
  PovProgress progress;
  std::vector<int> seen;
  for (size_t at = 0; at < text.size(); at += pieceSize) {
    const bool moved = progress.Feed(std::string_view(text).substr(at, pieceSize));
    const size_t end = std::min(at + pieceSize, text.size());
    EXPECT_EQ(progress.Percent(), PrintedBefore(text, end)) << "piece size " << pieceSize << " at " << end;
    if (moved) seen.push_back(*progress.Percent());
  }
  return seen;
}

TEST(PovProgress, FollowsARealRenderWhateverPiecesTheTextArrivesIn) {
  const std::string text = Captured("povray-3.7-sphere-64x48.stderr");
  ASSERT_NE(text.find("Rendered 1024 of 3072 pixels (33%)\r"), std::string::npos);
  EXPECT_EQ(Follow(text, 1), (std::vector<int>{33, 66, 83, 100}));
  for (const size_t pieceSize : {size_t{7}, size_t{64}, size_t{500}, text.size()}) Follow(text, pieceSize);
}

TEST(PovProgress, AgreesWithEveryPercentagePovRayPrinted) {
  const std::string text = Captured("povray-3.7-sphere-160x120-aa.stderr");
  std::vector<int> printed;
  for (size_t at = text.find("pixels ("); at != std::string::npos; at = text.find("pixels (", at + 1)) {
    printed.push_back(std::stoi(text.substr(at + 8)));
  }
  ASSERT_EQ(printed.size(), 20u);
  EXPECT_EQ(Follow(text, 1), printed);
  Follow(text, 13);
}

TEST(PovProgress, OtherLinesAndNonsenseCountsAreNoProgress) {
  EXPECT_EQ(ParsePovProgressLine("Rendered 5 of 10 pixels (50%)"), 50);
  EXPECT_EQ(ParsePovProgressLine("Rendered 0 of 10 pixels"), 0);
  for (const char* line :
       {"Parse Warning: assumed_gamma not specified", "", "Rendered", "Rendered of 10 pixels",
        "Rendered 11 of 10 pixels (110%)", "Rendered 1 of 0 pixels", "Rendered -1 of 10 pixels",
        "Rendered 5 of 10 rows", "rendered 5 of 10 pixels", "Rendered 1 of 99999999999999999999999 pixels"}) {
    EXPECT_FALSE(ParsePovProgressLine(line).has_value()) << line;
  }

  PovProgress progress;
  EXPECT_FALSE(progress.Feed("==== [Rendering...] ====\nRendered 3 of 4 pixels (75%)"));
  EXPECT_FALSE(progress.Percent().has_value());  // the line has not ended yet
  EXPECT_TRUE(progress.Feed("\r"));
  EXPECT_EQ(progress.Percent(), 75);
  // A line too long to keep is dropped whole, even when it ends like a progress line.
  EXPECT_FALSE(progress.Feed("Rendered 4 of 4 pixels" + std::string(PovProgress::kMaxLine, ' ') + "\r"));
  EXPECT_FALSE(progress.Feed("Rendered 3 of 4 pixels (75%)\r"));
  EXPECT_TRUE(progress.Feed("Rendered 4 of 4 pixels (100%)\r\n"));
  EXPECT_EQ(progress.Percent(), 100);
}

TEST(PovProgress, KeepsTheLastLinesThatSayWhyARenderFailed) {
  PovProgress progress;
  progress.Feed("==== [Parsing...] ====\nFile 'bad.pov' line 1: Parse Error: No matching } in 'pigment'\n");
  progress.Feed(
      "Rendered 1 of 4 pixels (25%)\r\r\nFatal error in parser: Cannot parse input.\nRender failed");
  EXPECT_EQ(progress.LastLines(),
            (std::deque<std::string>{
                "==== [Parsing...] ====", "File 'bad.pov' line 1: Parse Error: No matching } in 'pigment'",
                "Fatal error in parser: Cannot parse input."}));
  progress.Feed("\n" + std::string(3 * PovProgress::kMaxLine, 'x') + "\n");
  ASSERT_EQ(progress.LastLines().size(), PovProgress::kKeptLines);
  EXPECT_EQ(progress.LastLines()[2], "Render failed");
  EXPECT_EQ(progress.LastLines().back(), std::string(PovProgress::kMaxLine, 'x'));
}

}  // namespace
}  // namespace lumetra::povbridge
