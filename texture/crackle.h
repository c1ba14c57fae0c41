#pragma once

#include <array>
#include <cstdint>

#include "math/vector3.h"

namespace lumetra::texture {

// The cellular pattern: each unit cell holds one random point; the value is the gap between
// the distances to the nearest and the second nearest point, at most 1. The points of the
// 81 cells around a cell are kept in a 16-slot cache, most recently used first, so that
// neighbouring shading points cost only the distance scan.
class CrackleCache {
 public:
  static constexpr int kSlotCount = 16;
  static constexpr int kPointsPerSlot = 81;
  static constexpr std::uint32_t kEmptyKey = 0x80000000u;

  double Value(const math::Vector3& p);

  // Cells whose points had to be drawn since the cache was made.
  long long Misses() const { return misses_; }

 private:
  struct Slot {
    std::uint32_t key = kEmptyKey;
    int pointCount = 0;
    std::array<math::Vector3, kPointsPerSlot> points;
  };

  // The slot of `key`, moved to the front of the order, or -1.
  int Find(std::uint32_t key);
  // A fresh slot at the front of the order: the next unused one, later the least recent.
  int Take();
  void Fill(Slot& slot, const math::Vector3& p);

  std::array<Slot, kSlotCount> slots_;
  std::array<int, kSlotCount> order_{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  int used_ = 0;
  long long misses_ = 0;
};

// The crackle value at p through the calling thread's own cache.
double Crackle(const math::Vector3& p);

// The key of the cell holding q (the cell below on a face), as the random seed of its point.
std::uint32_t CrackleCellKey(const math::Vector3& q);
// The random point of the cell holding q.
math::Vector3 CrackleCellPoint(const math::Vector3& q);

}  // namespace lumetra::texture
