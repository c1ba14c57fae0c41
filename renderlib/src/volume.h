// A participating medium sampled by the caller's evaluate callback.
#pragma once

#include "lumetra2.h"

namespace lumetra::renderlib {

struct Volume {
  L2VolumeEvaluate evaluate = nullptr;
  L2ReleaseCallback release = nullptr;
  void* object = nullptr;
  double step = 0;  // 0: the view's step
  bool ambient = true, diffuse = false, opacity = true;
};

}  // namespace lumetra::renderlib
