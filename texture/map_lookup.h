#pragma once

#include <cstddef>
#include <vector>

namespace lumetra::texture {

// Where a value falls in a map ordered by entry value: one entry alone, or two blended
// with weight t on the second.
struct MapPosition {
  std::size_t first = 0;
  std::size_t second = 0;
  float t = 0.0f;
  bool Blends() const { return first != second; }
};

// Entries are walked while v >= their value; below the first entry the first is used, at
// or above the last the last. `entries` must not be empty; each has a float `value`.
template <typename Entry>
MapPosition LookUp(const std::vector<Entry>& entries, double v) {
  std::size_t passed = 0;
  bool anyPassed = false;
  for (std::size_t i = 0; i < entries.size() && v >= entries[i].value; ++i) {
    passed = i;
    anyPassed = true;
  }
  if (!anyPassed) return {0, 0, 0.0f};
  if (passed + 1 == entries.size()) return {passed, passed, 0.0f};
  const double a = entries[passed].value;
  const double b = entries[passed + 1].value;
  return {passed, passed + 1, static_cast<float>((v - a) / (b - a))};
}

}  // namespace lumetra::texture
