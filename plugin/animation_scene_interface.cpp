#include "plugin/animation_scene_interface.h"

#include "plugin/kinetra_app.h"

namespace plugin {

AnimationSceneInterface::AnimationSceneInterface(KinetraApp* app) : app_(app) { Reset(); }

void AnimationSceneInterface::Reset() {
  state_ = AnimationState{};
  state_.startTime = 0;
  state_.endTime = 120;
  state_.currentTime = 0;
  state_.keyStepsMode = 1;
  state_.sliderStepsMode = 0;
}

int32_t AnimationSceneInterface::OnSceneEvent(uint32_t, int32_t event) {
  constexpr int32_t kHostReady = 7;
  if (event == kHostReady) app_->OnHostReady();
  return 0;
}

}  // namespace plugin
