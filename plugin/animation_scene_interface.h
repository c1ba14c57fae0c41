#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "plugin/scene_interface_base.h"

namespace plugin {

class KinetraApp;

// The animation state the scene interface keeps between host events.
struct AnimationState {
  int32_t startTime = 0;  // ticks
  int32_t endTime = 0;
  int32_t currentTime = 0;
  int32_t keyStepsMode = 0;     // 0 "Keys", 1 "Object", ...
  int32_t sliderStepsMode = 0;  // 0 "Keys", ...
  int32_t eventState = 0;       // 2 while a merge is in progress
  bool sceneFlag = false;
  std::string sceneText;
  std::set<int32_t> keyTimes;
};

// The plug-in's scene interface: keeps the scene's animation in step with the host.
class AnimationSceneInterface : public SceneInterfaceBase {
 public:
  explicit AnimationSceneInterface(KinetraApp* app);

  void Reset() override;
  int32_t OnSceneEvent(uint32_t objectId, int32_t event) override;

  // True when at least one object of the scene carries keys. Keys arrive with the
  // scene's tracks, which this interface does not hold yet.
  bool HasTracks() const { return false; }

  const AnimationState& State() const { return state_; }
  KinetraApp* App() const { return app_; }

 private:
  KinetraApp* app_;
  AnimationState state_;
};

}  // namespace plugin
