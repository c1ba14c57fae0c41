#pragma once

#include "math/vector3.h"

namespace keyframe {

// An object's transform as a channel keeps it: the global part and the local
// part. A fresh block is the identity.
struct TransformBlock {
  lmath::Vector3 rotate;
  lmath::Vector3 scale{1.0, 1.0, 1.0};
  lmath::Vector3 translate;
  lmath::Vector3 localRotate;
  lmath::Vector3 localScale{1.0, 1.0, 1.0};
  lmath::Vector3 localTranslate;

  bool LocalIsIdentity() const {
    return localRotate == lmath::Vector3{} && localTranslate == lmath::Vector3{} &&
           localScale == lmath::Vector3{1.0, 1.0, 1.0};
  }
  void ResetLocal() {
    localRotate = {};
    localScale = {1.0, 1.0, 1.0};
    localTranslate = {};
  }
  friend bool operator==(const TransformBlock&, const TransformBlock&) = default;
};

}  // namespace keyframe
