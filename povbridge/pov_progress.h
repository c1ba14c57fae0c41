#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra::povbridge {

// The percentage of a POV-Ray 3.7 progress line, "Rendered N of M pixels (P%)", worked
// out from N and M; none for any other line or counts that make no sense.
std::optional<int> ParsePovProgressLine(std::string_view line);

// Follows POV-Ray's progress through its standard error as it arrives, in pieces of any
// size, and keeps the last few other lines, which say why a render failed. POV-Ray ends
// each progress line with a carriage return and other lines with a newline; either ends
// a line here.
class PovProgress {
 public:
  // Longer lines are no progress lines; their text is kept cut to this length.
  static constexpr size_t kMaxLine = 256;
  static constexpr size_t kKeptLines = 4;

  // Returns true when the piece moved the percentage.
  bool Feed(std::string_view piece);
  // The last percentage seen; none before the first progress line.
  std::optional<int> Percent() const { return percent_; }
  // The last non-empty lines that were no progress lines, oldest first.
  const std::deque<std::string>& LastLines() const { return lastLines_; }

 private:
  std::string line_;
  bool overlong_ = false;
  std::optional<int> percent_;
  std::deque<std::string> lastLines_;
};

}  // namespace lumetra::povbridge
