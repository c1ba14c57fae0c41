#pragma once

#include "math/transform.h"
#include "texture/warp.h"

namespace texture {

// Maps the point through the inverse of its transform, so that the pattern moves with it.
class TransformWarp final : public Warp {
 public:
  WarpType Type() const override { return WarpType::kTransform; }
  lmath::Vector3 Apply(const lmath::Vector3& in) const override {
    return transform_.InverseTransformPoint(in);
  }
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<TransformWarp>(*this); }

  lmath::Transform& GetTransform() { return transform_; }
  const lmath::Transform& GetTransform() const { return transform_; }

 private:
  lmath::Transform transform_;
};

}  // namespace texture
