#pragma once

#include "math/vector3.h"

namespace lumetra::texture {

// Alternating cubes: 0 first entry, 1 second.
int CheckerIndex(const math::Vector3& p);
// Hexagonal columns along z in three alternating entries: 0, 1 or 2.
int HexagonIndex(const math::Vector3& p);
// 0 mortar, 1 brick.
int BrickIndex(const math::Vector3& p, const math::Vector3& brickSize, double mortar);

enum class BlockKind { kChecker = 0, kHexagon = 1, kBrick = 2 };

// A block pattern with its settings: which entry a point selects.
struct BlockPattern {
  BlockKind kind = BlockKind::kChecker;
  math::Vector3 brickSize{8.0, 3.0, 4.5};
  double mortar = 0.5;

  int EntryCount() const { return kind == BlockKind::kHexagon ? 3 : 2; }
  int Index(const math::Vector3& p) const;
};

}  // namespace lumetra::texture
