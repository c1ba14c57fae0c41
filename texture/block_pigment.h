#pragma once

#include <vector>

#include "texture/block_pattern.h"
#include "texture/clone_ptr.h"
#include "texture/colour.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Colours, or whole pigments, laid out by a block pattern. Pigment entries, when there are
// any, take precedence over the colours.
class BlockPigment : public Pigment {
 public:
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override { return AnyReadsSurfaceCoordinates(pigments); }

  BlockPattern block;
  std::vector<Colour> colours;
  std::vector<ClonePtr<Pigment>> pigments;

 protected:
  explicit BlockPigment(BlockKind kind) { block.kind = kind; }
};

template <BlockKind Kind>
class BlockPigmentOf final : public BlockPigment {
 public:
  BlockPigmentOf() : BlockPigment(Kind) {}
  std::unique_ptr<Pigment> Clone() const override { return std::make_unique<BlockPigmentOf>(*this); }
};

using CheckerPigment = BlockPigmentOf<BlockKind::kChecker>;
using HexagonPigment = BlockPigmentOf<BlockKind::kHexagon>;
using BrickPigment = BlockPigmentOf<BlockKind::kBrick>;

}  // namespace lumetra::texture
