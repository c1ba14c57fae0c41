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

  // A unit cell by the integer coordinates of its lower corner.
  struct Cell {
    std::int32_t i, j, k;
    bool operator==(const Cell&) const = default;
  };

  double Value(const math::Vector3& p);

  // Cells whose points had to be drawn since the cache was made.
  long long Misses() const { return misses_; }

 private:
  // Slots are told apart by their cells, not by the cells' keys: keys collide, and a slot
  // found by key alone would give a point the cached points of another cell.
  struct Slot {
    Cell cell{};
    int pointCount = 0;
    std::array<math::Vector3, kPointsPerSlot> points;
  };

  // The slot of `cell`, moved to the front of the order, or -1.
  int Find(const Cell& cell);
  // A fresh slot at the front of the order: the next unused one, later the least recent.
  int Take();
  // Draws the points of the slot's cell and of its neighbours.
  void Fill(Slot& slot);

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
