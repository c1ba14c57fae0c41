#pragma once

#include "texture/warp.h"

namespace lumetra::texture {

// Repeats space along one axis in cells of a width: every cell is wrapped into the first,
// odd cells are flipped, and every cell is shifted by its number times the offset.
class RepeatWarp final : public Warp {
 public:
  int axis = 0;  // 0 x, 1 y, 2 z
  double width = 1.0;
  math::Vector3 offset;
  math::Vector3 flip{1.0, 1.0, 1.0};  // -1 mirrors that axis

  WarpType Type() const override { return WarpType::kRepeat; }
  math::Vector3 Apply(const math::Vector3& in) const override;
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<RepeatWarp>(*this); }
};

}  // namespace lumetra::texture
