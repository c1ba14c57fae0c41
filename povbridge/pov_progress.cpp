#include "povbridge/pov_progress.h"

#include <charconv>
#include <cstdint>

namespace lumetra::povbridge {
namespace {

// Takes `word` off the front of `text`.
bool Take(std::string_view& text, std::string_view word) {
  if (!text.starts_with(word)) return false;
  text.remove_prefix(word.size());
  return true;
}

// Takes a decimal count off the front of `text`.
bool TakeCount(std::string_view& text, uint64_t& count) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

}  // namespace

std::optional<int> ParsePovProgressLine(std::string_view line) {
  uint64_t done = 0;
  uint64_t total = 0;
  if (!Take(line, "Rendered ") || !TakeCount(line, done) || !Take(line, " of ") || !TakeCount(line, total) ||
      !Take(line, " pixels")) {
    return std::nullopt;
  }
  // The printed percentage is rounded already; the counts give the same value.
  if (total == 0 || done > total || total > UINT64_MAX / 100) return std::nullopt;
  return static_cast<int>(done * 100 / total);
}

bool PovProgress::Feed(std::string_view piece) {
  bool moved = false;
  for (const char c : piece) {
    if (c != '\r' && c != '\n') {
      if (line_.size() < kMaxLine) {
        line_.push_back(c);
      } else {
        overlong_ = true;
      }
      continue;
    }
    const std::optional<int> percent = overlong_ ? std::nullopt : ParsePovProgressLine(line_);
    if (percent && percent != percent_) {
      percent_ = percent;
      moved = true;
    } else if (!percent && !line_.empty()) {
      if (lastLines_.size() == kKeptLines) lastLines_.pop_front();
      lastLines_.push_back(line_);
    }
    line_.clear();
    overlong_ = false;
  }
  return moved;
}

}  // namespace lumetra::povbridge
