#pragma once

#include "math/vector3.h"

namespace lumetra::keyframe {

// An object's transform as a channel keeps it: the global part and the local
// part. A fresh block is the identity.
struct TransformBlock {
  math::Vector3 rotate;
  math::Vector3 scale{1.0, 1.0, 1.0};
  math::Vector3 translate;
  math::Vector3 localRotate;
  math::Vector3 localScale{1.0, 1.0, 1.0};
  math::Vector3 localTranslate;

  bool LocalIsIdentity() const {
    return localRotate == math::Vector3{} && localTranslate == math::Vector3{} &&
           localScale == math::Vector3{1.0, 1.0, 1.0};
  }
  void ResetLocal() {
    localRotate = {};
    localScale = {1.0, 1.0, 1.0};
    localTranslate = {};
  }
  friend bool operator==(const TransformBlock&, const TransformBlock&) = default;
};

}  // namespace lumetra::keyframe
