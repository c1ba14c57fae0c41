#include "app/farm_frames.h"

#include "abi/animation_run_record.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace lumetra::app {

std::vector<int32_t> FrameRange::Indices() const {
  std::vector<int32_t> indices;
  for (int64_t index = first; index <= last; index += stride) indices.push_back(static_cast<int32_t>(index));
  return indices;
}

std::optional<FrameRange> ParseFrameRange(const std::string& text, std::string& problem) {
  long first = 0, last = 0, stride = 1;
  int used = 0;
  const char* c = text.c_str();
  const bool read = std::sscanf(c, "%ld-%ld:%ld%n", &first, &last, &stride, &used) == 3 ||
                    (stride = 1, std::sscanf(c, "%ld-%ld%n", &first, &last, &used) == 2) ||
                    (std::sscanf(c, "%ld%n", &first, &used) == 1 && (last = first, true));
  if (!read || static_cast<size_t>(used) != text.size() || text.find_first_of("+ ") != std::string::npos) {
    problem = "frames are A-B or A-B:STEP (indices from 0), not '" + text + "'";
    return std::nullopt;
  }
  if (first < 0 || last > INT32_MAX / 2 || first > last || stride < 1 || stride > INT32_MAX / 2) {
    problem = "the frames '" + text +
              "' are no range: the first must be 0 or more, the last no smaller, the "
              "step 1 or more";
    return std::nullopt;
  }
  return FrameRange{static_cast<int32_t>(first), static_cast<int32_t>(last), static_cast<int32_t>(stride)};
}

std::string FrameRangeText(const FrameRange& range) {
  std::string text = std::to_string(range.first) + "-" + std::to_string(range.last);
  return range.stride == 1 ? text : text + ":" + std::to_string(range.stride);
}

std::vector<FrameRange> Chunks(const FrameRange& range, int32_t perChunk) {
  std::vector<FrameRange> chunks;
  const int64_t span = int64_t{perChunk} * range.stride;
  for (int64_t first = range.first; first <= range.last; first += span) {
    const int64_t last = std::min<int64_t>(range.last, first + span - range.stride);
    chunks.push_back({static_cast<int32_t>(first), static_cast<int32_t>(last), range.stride});
  }
  return chunks;
}

std::vector<FrameRange> RangesOf(const std::vector<int32_t>& indices, int32_t stride) {
  std::vector<FrameRange> ranges;
  for (const int32_t index : indices) {
    if (!ranges.empty() && int64_t{ranges.back().last} + stride == index) {
      ranges.back().last = index;
    } else {
      ranges.push_back({index, index, stride});
    }
  }
  return ranges;
}

std::string FramePath(const std::string& base, int32_t index, const std::string& extension) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, abi::kFrameNumberSuffix, index);
  return base + suffix + extension;
}

}  // namespace lumetra::app
