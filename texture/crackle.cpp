#include "texture/crackle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "texture/random.h"

namespace lumetra::texture {
namespace {

constexpr double kFaceOffset = 1e-05;

using CellIndex = CrackleCache::Cell;

// A neighbour's coordinate, wrapping at the end of the int range as the keys do.
std::int32_t Beside(std::int32_t coordinate, int offset) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(coordinate) +
                                   static_cast<std::uint32_t>(offset));
}

std::int32_t CellCoordinate(double t) {
  const double cell = std::floor(t - kFaceOffset);
  // Far outside any scene the cells repeat rather than overflow.
  if (!(std::fabs(cell) < 2147483647.0)) return 0;
  return static_cast<std::int32_t>(cell);
}

CellIndex CellOf(const math::Vector3& q) {
  return {CellCoordinate(q.x), CellCoordinate(q.y), CellCoordinate(q.z)};
}

std::uint32_t KeyOf(const CellIndex& c) {
  return static_cast<std::uint32_t>(c.k) * 55237u ^ static_cast<std::uint32_t>(c.j) * 113713u ^
         static_cast<std::uint32_t>(c.i) * 99137u;
}

bool IsNeighbourOffset(int dx, int dy, int dz) {
  const int twos = (std::abs(dx) == 2) + (std::abs(dy) == 2) + (std::abs(dz) == 2);
  return twos < 2;
}

math::Vector3 PointOf(const CellIndex& cell) {
  Seed(KeyOf(cell));
  const double x = cell.i + RandUnit();
  const double y = cell.j + RandUnit();
  const double z = cell.k + RandUnit();
  return {x, y, z};
}

}  // namespace

std::uint32_t CrackleCellKey(const math::Vector3& q) { return KeyOf(CellOf(q)); }

math::Vector3 CrackleCellPoint(const math::Vector3& q) { return PointOf(CellOf(q)); }

int CrackleCache::Find(const Cell& cell) {
  for (int position = 0; position < used_; ++position) {
    const int slot = order_[position];
    if (slots_[slot].cell == cell) {
      std::rotate(order_.begin(), order_.begin() + position, order_.begin() + position + 1);
      return slot;
    }
  }
  return -1;
}

int CrackleCache::Take() {
  // Unused slots sit behind the used ones in the order, so position `used_` is the next
  // unused slot while there is one, and the last position the least recently used after.
  const int position = used_ < kSlotCount ? used_++ : kSlotCount - 1;
  const int slot = order_[position];
  std::rotate(order_.begin(), order_.begin() + position, order_.begin() + position + 1);
  return slot;
}

void CrackleCache::Fill(Slot& slot) {
  const Cell& c = slot.cell;
  slot.pointCount = 0;
  for (int dx = -2; dx <= 2; ++dx) {
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dz = -2; dz <= 2; ++dz) {
        if (!IsNeighbourOffset(dx, dy, dz)) continue;
        slot.points[slot.pointCount++] = PointOf({Beside(c.i, dx), Beside(c.j, dy), Beside(c.k, dz)});
      }
    }
  }
}

double CrackleCache::Value(const math::Vector3& p) {
  const Cell cell = CellOf(p);
  int slot = Find(cell);
  if (slot < 0) {
    ++misses_;
    slot = Take();
    slots_[slot].cell = cell;
    Fill(slots_[slot]);
  }
  const Slot& filled = slots_[slot];
  double nearest = std::numeric_limits<double>::infinity();
  double second = nearest;
  for (int n = 0; n < filled.pointCount; ++n) {
    const math::Vector3 d = filled.points[n] - p;
    const double squared = math::Dot(d, d);
    if (squared < nearest) {
      second = nearest;
      nearest = squared;
    } else if (squared < second) {
      second = squared;
    }
  }
  return std::min(std::sqrt(second) - std::sqrt(nearest), 1.0);
}

double Crackle(const math::Vector3& p) {
  thread_local CrackleCache cache;
  return cache.Value(p);
}

}  // namespace lumetra::texture
