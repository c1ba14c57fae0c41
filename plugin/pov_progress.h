#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumetra::plugin {

// The percentage of a POV-Ray 3.7 progress line, "Rendered N of M pixels (P%)", worked
// out from N and M; none for any other line or counts that make no sense.
std::optional<int> ParsePovProgressLine(std::string_view line);

// Follows POV-Ray's progress through its standard error as it arrives, in pieces of any
// size. POV-Ray ends each progress line with a carriage return and other lines with a
// newline; either ends a line here.
class PovProgress {
 public:
  // Longer lines are no progress lines; their text is not kept.
  static constexpr size_t kMaxLine = 256;

  // Returns true when the piece moved the percentage.
  bool Feed(std::string_view piece);
  // The last percentage seen; none before the first progress line.
  std::optional<int> Percent() const { return percent_; }

 private:
  std::string line_;
  bool overlong_ = false;
  std::optional<int> percent_;
};

}  // namespace lumetra::plugin
