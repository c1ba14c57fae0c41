#include "ui/options_sheet.h"

#include <cstdio>
#include <stdexcept>

#include "abi/render_methods.h"
#include "abi/settings_values.h"
#include "platform/messages.h"
#include "render/job_state.h"

namespace lumetra::ui {
namespace {

constexpr const char* kSheetTitle = "Rendering Options";
constexpr size_t kTransmissionBox = 2;
constexpr int32_t kShadingGouraud = 1;
constexpr int32_t kShadingPhong = 2;

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool IsScanline(int32_t method) { return method == abi::kMethodScanline; }

}  // namespace

OptionsSheet::OptionsSheet(OptionsSources sources) : sources_(std::move(sources)) {
  const render::RenderSettings& rendering = sources_.rendering;
  Text(OptionsEdit::TransparencyDepth) = std::to_string(rendering.scanlineDepth);
  Text(OptionsEdit::VolumeStepSize) = Printed("%g", rendering.volumeStepSize);
  Text(OptionsEdit::MinimumSteps) = std::to_string(rendering.volumeMinSteps);
  Text(OptionsEdit::MaximumSteps) = std::to_string(rendering.volumeMaxSteps);
  rendering_.method = rendering.method;
  ShowFlags();

  const render::AnimationSettings& animation = sources_.animation;
  Text(OptionsEdit::CustomRate) = Printed("%g", animation.customFrameRate);
  Text(OptionsEdit::BaseName) = animation.outputBaseName;
  if (const keyframe::SceneAnimation* scene = sources_.scene) {
    times_ = {scene->StartTime(), scene->EndTime(), scene->CurrentTime()};
    keySteps_ = static_cast<int32_t>(scene->KeyStepsMode());
    sliderSteps_ = scene->SliderStepsMode();
  }
  WriteTimes();
}

OptionsViewState OptionsSheet::State() {
  OptionsViewState state;
  state.rendering = rendering_;
  if (sources_.jobs) {
    for (const render::JobList::JobPtr& job : sources_.jobs->Jobs()) {
      state.jobs.push_back({job->DisplayName(), render::JobStateName(job->state.load())});
    }
  }
  const render::AnimationSettings& settings = sources_.animation;
  AnimationPageView& animation = state.animation;
  animation.frameRate = settings.frameRateChoice;
  animation.timeDisplay = settings.timeDisplay;
  animation.fileFormat = settings.fileOutput;
  animation.keySteps = keySteps_;
  animation.sliderSteps = sliderSteps_;
  const bool avi = settings.fileOutput == static_cast<int32_t>(render::FileOutput::Avi);
  animation.baseNameEnabled = !avi;
  animation.selectEnabled = avi;
  animation.dropLastFrame = dropLastFrame_;
  std::string code = "Codec : ";
  for (int shift = 0; shift < 32; shift += 8)
    code += static_cast<char>((settings.compressor >> shift) & 0xFF);
  animation.codecText = code;
  animation.qualityText =
      settings.quality == 10000 ? "Quality: %100" : Printed("Quality: %%%-5.2g", settings.quality * 0.01);
  if (const keyframe::SceneAnimation* scene = sources_.scene) {
    const keyframe::TimeFormat format = settings.TimeFormat();
    try {
      animation.rangeStart = keyframe::FormatTime(format, scene->StartTime());
      animation.rangeEnd = keyframe::FormatTime(format, scene->EndTime());
    } catch (const std::invalid_argument&) {
      // A rate without a frame length shows no times.
    }
  }
  state.edits = edits_;
  state.modified = modified_;
  return state;
}

void OptionsSheet::EditText(OptionsEdit edit, const std::string& text) {
  Text(edit) = text;
  switch (edit) {
    case OptionsEdit::StartTime:
      timeTyped_[kStart] = true;
      break;
    case OptionsEdit::EndTime:
      timeTyped_[kEnd] = true;
      break;
    case OptionsEdit::CurrentTime:
      timeTyped_[kCurrent] = true;
      break;
    case OptionsEdit::BaseName:
      sources_.animation.outputBaseName = text;
      break;
    default:
      break;
  }
  modified_ = true;
}

void OptionsSheet::ShowFlags() {
  const uint32_t word = sources_.rendering.shadingFlags.at(static_cast<size_t>(rendering_.method));
  for (size_t box = 0; box < abi::kShadingFlagBoxes.size(); ++box) {
    rendering_.flags[box] = (word & abi::kShadingFlagBoxes[box]) != 0;
  }
  const uint32_t smooth = word & (abi::kShadingSmooth | abi::kShadingPhong);
  rendering_.shading = smooth == (abi::kShadingSmooth | abi::kShadingPhong) ? kShadingPhong
                       : (smooth & abi::kShadingSmooth) != 0                ? kShadingGouraud
                                                                            : 0;
  rendering_.depthEnabled = IsScanline(rendering_.method) && (word & abi::kShadingTransmission) == 0;
}

void OptionsSheet::StoreFlags() {
  uint32_t word = 0;
  for (size_t box = 0; box < abi::kShadingFlagBoxes.size(); ++box) {
    if (rendering_.flags[box]) word |= abi::kShadingFlagBoxes[box];
  }
  if (rendering_.shading == kShadingGouraud) word |= abi::kShadingSmooth;
  if (rendering_.shading == kShadingPhong) word |= abi::kShadingSmooth | abi::kShadingPhong;
  sources_.rendering.shadingFlags.at(static_cast<size_t>(rendering_.method)) = word;
}

void OptionsSheet::SelectMethod(int32_t method) {
  if (method < 0 || method >= static_cast<int32_t>(abi::kRenderMethodNames.size())) return;
  StoreFlags();
  rendering_.method = method;
  sources_.rendering.method = method;
  ShowFlags();
  modified_ = true;
}

void OptionsSheet::SelectShading(int32_t shading) {
  rendering_.shading = shading;
  StoreFlags();
  modified_ = true;
}

void OptionsSheet::SetFlag(size_t box, bool checked) {
  if (box >= rendering_.flags.size()) return;
  rendering_.flags[box] = checked;
  if (box == kTransmissionBox && IsScanline(rendering_.method)) rendering_.depthEnabled = !checked;
  modified_ = true;
}

void OptionsSheet::AbortJob(int32_t row) {
  if (row < 0) {
    platform::Messages::Show("Error", "Select a job to delete", platform::MessageButtons::Ok,
                             platform::MessageIcon::Error);
    return;
  }
  if (!sources_.jobs) return;
  const std::vector<render::JobList::JobPtr> jobs = sources_.jobs->Jobs();
  // The row may have ended since the user chose it; the lists then lose it anyway.
  if (static_cast<size_t>(row) < jobs.size()) sources_.jobs->Abort(jobs[static_cast<size_t>(row)]);
}

void OptionsSheet::AbortAllJobs() {
  if (sources_.jobs) sources_.jobs->AbortAll();
}

void OptionsSheet::ApplyFrameRate() {
  render::AnimationSettings& settings = sources_.animation;
  auto rate = abi::FrameRateOfChoice(settings.frameRateChoice, settings.customFrameRate);
  if (!rate) {
    platform::Messages::Show("Internal error", "Unable to determine frame rate, will use 30FPS");
    settings.frameRateChoice = 4;
    rate = abi::kFrameRateChoices[4];
  }
  settings.frameRateNumerator = rate->numerator;
  settings.frameRateDenominator = rate->denominator;
}

void OptionsSheet::ReadTimes() {
  const OptionsEdit edits[] = {OptionsEdit::StartTime, OptionsEdit::EndTime, OptionsEdit::CurrentTime};
  for (size_t i = 0; i < times_.size(); ++i) {
    const std::string& text = Text(edits[i]);
    if (!timeTyped_[i] || text.size() > kMaxTimeText) continue;
    try {
      times_[i] = keyframe::ParseTime(sources_.animation.TimeFormat(), text);
    } catch (const std::exception&) {
      // A time that cannot be read keeps the one shown before.
    }
    timeTyped_[i] = false;
  }
}

void OptionsSheet::WriteTimes() {
  const OptionsEdit edits[] = {OptionsEdit::StartTime, OptionsEdit::EndTime, OptionsEdit::CurrentTime};
  for (size_t i = 0; i < times_.size(); ++i) {
    try {
      Text(edits[i]) = keyframe::FormatTime(sources_.animation.TimeFormat(), times_[i]);
    } catch (const std::invalid_argument&) {
      Text(edits[i]).clear();
    }
    timeTyped_[i] = false;
  }
}

void OptionsSheet::SelectFrameRate(int32_t choice) {
  if (choice == sources_.animation.frameRateChoice) return;
  ReadTimes();
  sources_.animation.frameRateChoice = choice;
  ApplyFrameRate();
  WriteTimes();
  modified_ = true;
}

void OptionsSheet::SelectTimeDisplay(int32_t choice) {
  if (choice != sources_.animation.timeDisplay) {
    ReadTimes();
    sources_.animation.timeDisplay = choice;
    WriteTimes();
  }
  modified_ = true;
}

void OptionsSheet::SelectFileFormat(int32_t choice) {
  if (choice == sources_.animation.fileOutput) return;
  sources_.animation.fileOutput = choice;
  modified_ = true;
}

void OptionsSheet::SelectKeySteps(int32_t choice) {
  keySteps_ = choice;
  modified_ = true;
}

void OptionsSheet::SetDropLastFrame(bool checked) {
  dropLastFrame_ = checked;
  modified_ = true;
}

void OptionsSheet::LoadDefaults() {
  if (!sources_.registry) return;
  ReadTimes();
  if (const auto result = sources_.animation.Load(*sources_.registry, sources_.basePath);
      result != platform::ERROR_SUCCESS) {
    platform::Messages::Show(kSheetTitle, "The default settings could not be read (registry error " +
                                              std::to_string(result) + ").");
  }
  WriteTimes();
  modified_ = true;
}

void OptionsSheet::SaveDefaults() {
  if (!sources_.registry) return;
  if (const auto result = sources_.animation.Save(*sources_.registry, sources_.basePath);
      result != platform::ERROR_SUCCESS) {
    platform::Messages::Show(kSheetTitle, "The default settings could not be saved (registry error " +
                                              std::to_string(result) + ").");
  }
}

bool OptionsSheet::SetCustomRate(const std::string& text) {
  const auto rate = abi::kCustomFrameRateSetting.Read(text);
  if (!rate) {
    platform::Messages::Show("Enter Custom Frame Rate", abi::kCustomFrameRateSetting.RangeMessage(),
                             platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return false;
  }
  sources_.animation.customFrameRate = static_cast<float>(*rate);
  Text(OptionsEdit::CustomRate) = Printed("%7.2f", sources_.animation.customFrameRate);
  if (sources_.animation.frameRateChoice == abi::kCustomFrameRateChoice) {
    ReadTimes();
    ApplyFrameRate();
    WriteTimes();
  }
  modified_ = true;
  return true;
}

void OptionsSheet::Rescale(const std::string& startText, const std::string& endText) {
  int32_t start = 0;
  int32_t end = 0;
  try {
    start = keyframe::ParseTime(sources_.animation.TimeFormat(), startText);
    end = keyframe::ParseTime(sources_.animation.TimeFormat(), endText);
  } catch (const std::exception&) {
    start = end = 0;  // unreadable: refused below like an empty range
  }
  if (start >= end) {
    platform::Messages::Show("Error", "Invalid rescale time, start must be less than end time",
                             platform::MessageButtons::Ok, platform::MessageIcon::Error);
    return;
  }
  keyframe::SceneAnimation* scene = sources_.scene;
  if (!scene || (start == scene->StartTime() && end == scene->EndTime())) return;
  scene->SetKeyStepsMode(static_cast<keyframe::KeySteps>(keySteps_));
  scene->RescaleTime(start, end);
  scene->SetRange(start, end);
  scene->RebuildKeyTimes();
  ReadTimes();
  times_[kStart] = start;
  times_[kEnd] = end;
  WriteTimes();
  modified_ = true;
}

CompressorChoice OptionsSheet::Compressor() const {
  const render::AnimationSettings& settings = sources_.animation;
  return {settings.compressor, settings.quality, settings.keyFrameEvery, settings.dataRate};
}

void OptionsSheet::ChooseCompressor(const CompressorChoice& choice) {
  render::AnimationSettings& settings = sources_.animation;
  settings.compressor = choice.handler;
  settings.quality = choice.quality;
  settings.keyFrameEvery = choice.keyFrameEvery;
  settings.dataRate = choice.dataRate;
  modified_ = true;
}

std::optional<double> OptionsSheet::CheckedNumber(OptionsEdit edit, const abi::SettingValue& value) {
  const auto number = value.Read(Text(edit));
  if (!number) {
    platform::Messages::Show(kSheetTitle, value.RangeMessage(), platform::MessageButtons::Ok,
                             platform::MessageIcon::Exclamation);
  }
  return number;
}

bool OptionsSheet::Accept() {
  // Checked in the order of the pages; the first refused edit keeps the sheet open.
  const auto depth = CheckedNumber(OptionsEdit::TransparencyDepth, abi::kScanlineDepthSetting);
  const auto stepSize =
      depth ? CheckedNumber(OptionsEdit::VolumeStepSize, abi::kVolumeStepSizeSetting) : std::nullopt;
  const auto minSteps =
      stepSize ? CheckedNumber(OptionsEdit::MinimumSteps, abi::kVolumeMinStepsSetting) : std::nullopt;
  const auto maxSteps =
      minSteps ? CheckedNumber(OptionsEdit::MaximumSteps, abi::kVolumeMaxStepsSetting) : std::nullopt;
  const auto rate =
      maxSteps ? CheckedNumber(OptionsEdit::CustomRate, abi::kCustomFrameRateSetting) : std::nullopt;
  if (!rate) return false;

  render::RenderSettings& rendering = sources_.rendering;
  StoreFlags();
  rendering.scanlineDepth = static_cast<int32_t>(*depth);
  rendering.volumeStepSize = static_cast<float>(*stepSize);
  rendering.volumeMinSteps = static_cast<int32_t>(*minSteps);
  rendering.volumeMaxSteps = static_cast<int32_t>(*maxSteps);

  render::AnimationSettings& animation = sources_.animation;
  animation.customFrameRate = static_cast<float>(*rate);
  ApplyFrameRate();
  animation.dropLastFrame = dropLastFrame_;
  ReadTimes();
  keyframe::SceneAnimation* scene = sources_.scene;
  if (scene && sources_.bar) {
    if (sources_.barFormat) *sources_.barFormat = animation.TimeFormat();
    scene->SetRange(times_[kStart], times_[kEnd]);
    scene->SetSliderStepsMode(sliderSteps_);
    scene->SetKeyStepsMode(static_cast<keyframe::KeySteps>(keySteps_));
    scene->SetCurrentTime(times_[kCurrent]);
    scene->RebuildKeyTimes();
    sources_.bar->Refresh();
  }
  return true;
}

}  // namespace lumetra::ui
