#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::app {

// Frames of an animation picked by index: first to last, every stride-th.
struct FrameRange {
  int32_t first = 0;
  int32_t last = 0;
  int32_t stride = 1;

  std::vector<int32_t> Indices() const;
  bool operator==(const FrameRange&) const = default;
};

// "A-B", "A-B:K" or "A" (frame indices from 0, K from 1); nothing, with `problem` said,
// for anything else.
std::optional<FrameRange> ParseFrameRange(const std::string& text, std::string& problem);
// The text ParseFrameRange reads back.
std::string FrameRangeText(const FrameRange& range);

// `range` cut into consecutive ranges of at most `perChunk` frames each.
std::vector<FrameRange> Chunks(const FrameRange& range, int32_t perChunk);

// Increasing indices as the fewest ranges of `stride` that hold exactly them.
std::vector<FrameRange> RangesOf(const std::vector<int32_t>& indices, int32_t stride);

// The numbered picture of a frame as an animation run writes it: "walk" and 3 give
// "walk-00003" + `extension`.
std::string FramePath(const std::string& base, int32_t index, const std::string& extension);

}  // namespace lumetra::app
