#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "abi/result_codes.h"

namespace lumetra::translate {

// The most items the translation reads from one of the host's arrays: a count above it
// is not believed, so a broken record never makes the translation allocate without bound.
constexpr std::uint32_t kMaxHostItems = 1u << 22;

// Reads `count` items of `width` values each through one of the host's array readers
// (reader(id, first, count, out)); nothing when the count is not believable, or when
// there is something to read and the reader is missing or refuses.
template <typename T, typename Reader>
std::optional<std::vector<T>> ReadHostArray(Reader reader, std::uint32_t id, std::uint32_t count,
                                            std::size_t width) {
  if (count > kMaxHostItems) return std::nullopt;
  std::vector<T> items(std::size_t{count} * width);
  if (count == 0) return items;
  if (!reader || reader(id, 0, count, items.data()) != abi::kOk) return std::nullopt;
  return items;
}

}  // namespace lumetra::translate
