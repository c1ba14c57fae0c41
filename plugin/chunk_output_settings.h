#pragma once

#include "keyframe/scene_chunk.h"
#include "render/animation_settings.h"

namespace lumetra::plugin {

class KinetraApp;

// The application's animation output settings as the keyframe chunk carries them.
keyframe::StoredOutputSettings ToStored(const render::AnimationSettings& settings);
// Takes stored settings over; the custom frame rate becomes numerator / denominator.
void TakeStored(const keyframe::StoredOutputSettings& stored, render::AnimationSettings& settings);

// The keyframe chunk's view of the application's animation output settings.
class AppOutputSettings final : public keyframe::OutputSettingsStore {
 public:
  explicit AppOutputSettings(KinetraApp& app) : app_(app) {}

  keyframe::StoredOutputSettings Stored() const override;
  void TakeStored(const keyframe::StoredOutputSettings& settings) override;
  float LoadFromRegistry() override;

 private:
  KinetraApp& app_;
};

}  // namespace lumetra::plugin
