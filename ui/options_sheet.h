#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "abi/settings_values.h"
#include "keyframe/scene_animation.h"
#include "keyframe/time_format.h"
#include "platform/registry.h"
#include "render/animation_settings.h"
#include "render/job_list.h"
#include "render/render_settings.h"
#include "ui/anim_control_bar.h"
#include "ui/options_window.h"

namespace lumetra::ui {

// Where the sheet's settings come from and go to.
struct OptionsSources {
  render::RenderSettings rendering;
  render::AnimationSettings animation;
  render::JobList* jobs = nullptr;  // none: the Active Jobs page stays empty
  keyframe::SceneAnimation* scene = nullptr;
  AnimControlBar* bar = nullptr;                 // the bar whose times the sheet sets, when it exists
  keyframe::TimeFormat* barFormat = nullptr;     // how that bar shows times
  const platform::Registry* registry = nullptr;  // "Load Default" and "Save Default"
  std::string basePath;
  std::vector<CompressorEntry> compressors;
};

// The "Rendering Options" sheet without a toolkit: a copy of the render and animation
// settings edited on the Rendering, Active Jobs and Animation pages, with their enable
// rules, range checks and dialogs. Accept() takes the edits over: the settings then hold
// them, and the scene's animation range, current time and steps follow.
class OptionsSheet final : public OptionsController {
 public:
  static constexpr int kMaxTimeText = 32;

  explicit OptionsSheet(OptionsSources sources);

  const render::RenderSettings& RenderSettings() const { return sources_.rendering; }
  const render::AnimationSettings& AnimationSettings() const { return sources_.animation; }
  bool Modified() const { return modified_; }

  // OptionsController
  OptionsViewState State() override;
  void EditText(OptionsEdit edit, const std::string& text) override;
  void SelectMethod(int32_t method) override;
  void SelectShading(int32_t shading) override;
  void SetFlag(size_t box, bool checked) override;
  void AbortJob(int32_t row) override;
  void AbortAllJobs() override;
  void SelectFrameRate(int32_t choice) override;
  void SelectTimeDisplay(int32_t choice) override;
  void SelectFileFormat(int32_t choice) override;
  void SelectKeySteps(int32_t choice) override;
  void SetDropLastFrame(bool checked) override;
  void LoadDefaults() override;
  void SaveDefaults() override;
  bool SetCustomRate(const std::string& text) override;
  void Rescale(const std::string& start, const std::string& end) override;
  std::vector<CompressorEntry> Compressors() const override { return sources_.compressors; }
  CompressorChoice Compressor() const override;
  void ChooseCompressor(const CompressorChoice& choice) override;
  bool Accept() override;

 private:
  enum TimeEdit { kStart, kEnd, kCurrent };

  std::string& Text(OptionsEdit edit) { return edits_[static_cast<size_t>(edit)]; }
  // The method's shading and boxes into the controls, and back.
  void ShowFlags();
  void StoreFlags();
  // The frame-rate choice into numerator and denominator.
  void ApplyFrameRate();
  // Edited times into ticks (only the edits typed into), and ticks into the edits.
  void ReadTimes();
  void WriteTimes();
  void ShowAnimationChoices();
  // The number of an edit when its value accepts it; a refused one is reported.
  std::optional<double> CheckedNumber(OptionsEdit edit, const abi::SettingValue& value);

  OptionsSources sources_;
  std::array<std::string, kOptionsEditCount> edits_;
  RenderingPageView rendering_;
  int32_t keySteps_ = 0;
  int32_t sliderSteps_ = 0;
  bool dropLastFrame_ = false;
  std::array<int32_t, 3> times_{};
  std::array<bool, 3> timeTyped_{};
  bool modified_ = false;
};

}  // namespace lumetra::ui
