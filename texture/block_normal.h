#pragma once

#include <vector>

#include "texture/block_pattern.h"
#include "texture/clone_ptr.h"
#include "texture/normal_sampling.h"
#include "texture/texture.h"

namespace lumetra::texture {

// A block pattern as bumps: with a sub-normal for every block entry the selected one
// perturbs the normal; otherwise the block index itself is sampled as a height.
class BlockNormal : public Normal {
 public:
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  bool ReadsSurfaceCoordinates() const override { return AnyReadsSurfaceCoordinates(subNormals); }

  BlockPattern block;
  BumpSettings bump;
  std::vector<ClonePtr<Normal>> subNormals;

 protected:
  explicit BlockNormal(BlockKind kind) { block.kind = kind; }
};

template <BlockKind Kind>
class BlockNormalOf final : public BlockNormal {
 public:
  BlockNormalOf() : BlockNormal(Kind) {}
  std::unique_ptr<Normal> Clone() const override { return std::make_unique<BlockNormalOf>(*this); }
};

using CheckerNormal = BlockNormalOf<BlockKind::kChecker>;
using HexagonNormal = BlockNormalOf<BlockKind::kHexagon>;
using BrickNormal = BlockNormalOf<BlockKind::kBrick>;

}  // namespace lumetra::texture
