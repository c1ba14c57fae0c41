#pragma once

#include "math/transform.h"
#include "texture/warp.h"

namespace lumetra::texture {

// Maps the point through the inverse of its transform, so that the pattern moves with it.
class TransformWarp final : public Warp {
 public:
  WarpType Type() const override { return WarpType::kTransform; }
  math::Vector3 Apply(const math::Vector3& in) const override { return transform_.InverseTransformPoint(in); }
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<TransformWarp>(*this); }

  math::Transform& GetTransform() { return transform_; }
  const math::Transform& GetTransform() const { return transform_; }

 private:
  math::Transform transform_;
};

}  // namespace lumetra::texture
