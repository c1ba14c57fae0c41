#include "plugin/animation_scene_interface.h"

namespace plugin {

AnimationSceneInterface::AnimationSceneInterface(PluginApp* app) : app_(app) { Reset(); }

void AnimationSceneInterface::Reset() {
  state_ = AnimationState{};
  state_.startTime = 0;
  state_.endTime = 120;
  state_.currentTime = 0;
  state_.keyStepsMode = 1;
  state_.sliderStepsMode = 0;
}

}  // namespace plugin
