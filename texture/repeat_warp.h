#pragma once

#include "texture/warp.h"

namespace texture {

// Repeats space along one axis in cells of a width: every cell is wrapped into the first,
// odd cells are flipped, and every cell is shifted by its number times the offset.
class RepeatWarp final : public Warp {
 public:
  int axis = 0;  // 0 x, 1 y, 2 z
  double width = 1.0;
  lmath::Vector3 offset;
  lmath::Vector3 flip{1.0, 1.0, 1.0};  // -1 mirrors that axis

  WarpType Type() const override { return WarpType::kRepeat; }
  lmath::Vector3 Apply(const lmath::Vector3& in) const override;
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<RepeatWarp>(*this); }
};

}  // namespace texture
