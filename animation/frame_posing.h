#pragma once

#include <cstdint>

namespace lumetra::animation {

// What an animation's worker does before each frame: poses the scene its renderer reads
// at `time` (the render library's translated scene, or the host's own scene for the
// outside renderers).
class FramePosing {
 public:
  virtual ~FramePosing() = default;
  virtual void Pose(int32_t time) = 0;
};

}  // namespace lumetra::animation
