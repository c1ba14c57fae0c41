#pragma once

#include <vector>

#include "texture/block_pattern.h"
#include "texture/clone_ptr.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Whole textures laid out by a block pattern: the selected entry shades the point.
class BlockTexture : public Texture {
 public:
  void Shade(ShadingPoint& point, SurfaceSample& sample) const override;
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override { return AnyReadsSurfaceCoordinates(entries); }

  BlockPattern block;
  // In block order: checker first, second; hexagon first, second, third; brick mortar, brick.
  std::vector<ClonePtr<Texture>> entries;

 protected:
  explicit BlockTexture(BlockKind kind) { block.kind = kind; }
};

template <BlockKind Kind>
class BlockTextureOf final : public BlockTexture {
 public:
  BlockTextureOf() : BlockTexture(Kind) {}
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<BlockTextureOf>(*this); }
};

using CheckerTexture = BlockTextureOf<BlockKind::kChecker>;
using HexagonTexture = BlockTextureOf<BlockKind::kHexagon>;
using BrickTexture = BlockTextureOf<BlockKind::kBrick>;

}  // namespace lumetra::texture
