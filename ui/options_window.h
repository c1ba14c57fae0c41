#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::ui {

// The "Rendering Options" sheet between its controller (ui/options_sheet.h) and a
// toolkit's window: the window shows an OptionsViewState and hands every user action to
// the OptionsController, which keeps all of the sheet's state and rules.

// The sheet's pages, in order.
enum OptionsPage : int32_t { kRenderingPage = 0, kActiveJobsPage = 1, kAnimationPage = 2 };

// The sheet's text edits.
enum class OptionsEdit : size_t {
  TransparencyDepth,
  VolumeStepSize,
  MinimumSteps,
  MaximumSteps,
  CustomRate,
  StartTime,
  EndTime,
  CurrentTime,
  BaseName,
};
inline constexpr size_t kOptionsEditCount = 9;

struct RenderingPageView {
  int32_t method = 0;           // index in abi::kRenderMethodNames
  int32_t shading = 0;          // 0 "Flat", 1 "Gouraud", 2 "Phong"
  std::array<bool, 8> flags{};  // the boxes of abi::kShadingFlagNames
  bool depthEnabled = false;
};

// One row of each of the Active Jobs page's two lists.
struct JobRow {
  std::string name;
  std::string state;
};

struct AnimationPageView {
  int32_t frameRate = 0;    // 0 "10 FPS" ... 7 "Custom"
  int32_t timeDisplay = 0;  // 0 "Frames" ... 3 "MM:SS:Ticks"
  int32_t fileFormat = 0;   // 0 "AVI" ... 7 "TIF"
  int32_t keySteps = 0;     // 0 "Selected", 1 "Object", 2 "Scene"
  int32_t sliderSteps = 0;  // 0 "Keys", 1 "Ticks"
  bool baseNameEnabled = false;
  bool selectEnabled = false;
  bool dropLastFrame = false;
  std::string codecText;    // "Codec : MSVC"
  std::string qualityText;  // "Quality: %85"
  std::string rangeStart;   // the animation's start and end as the rescale dialog shows them
  std::string rangeEnd;
};

struct OptionsViewState {
  RenderingPageView rendering;
  std::vector<JobRow> jobs;
  AnimationPageView animation;
  std::array<std::string, kOptionsEditCount> edits;
  bool modified = false;
};

// A compressor the "Select Compressor" dialog offers, with the settings it starts with.
struct CompressorEntry {
  uint32_t handler = 0;  // four-character code, first letter lowest
  std::string code;      // "MSVC"
  std::string description;
  bool usesQuality = false;
  int32_t quality = 0;
  int32_t keyFrameEvery = 0;
  int32_t dataRate = 0;
};

// The compressor settings of the animation.
struct CompressorChoice {
  uint32_t handler = 0;
  int32_t quality = 0;
  int32_t keyFrameEvery = 0;
  int32_t dataRate = 0;
};

// The sheet's controller as its window sees it. Calls that may refuse the user's input
// show the message themselves and answer false.
class OptionsController {
 public:
  virtual ~OptionsController() = default;

  // What the sheet shows now; the job list is read afresh.
  virtual OptionsViewState State() = 0;

  virtual void EditText(OptionsEdit edit, const std::string& text) = 0;
  // Rendering page.
  virtual void SelectMethod(int32_t method) = 0;
  virtual void SelectShading(int32_t shading) = 0;
  virtual void SetFlag(size_t box, bool checked) = 0;
  // Active Jobs page; `row` is -1 without a selection.
  virtual void AbortJob(int32_t row) = 0;
  virtual void AbortAllJobs() = 0;
  // Animation page.
  virtual void SelectFrameRate(int32_t choice) = 0;
  virtual void SelectTimeDisplay(int32_t choice) = 0;
  virtual void SelectFileFormat(int32_t choice) = 0;
  virtual void SelectKeySteps(int32_t choice) = 0;
  virtual void SetDropLastFrame(bool checked) = 0;
  virtual void LoadDefaults() = 0;
  virtual void SaveDefaults() = 0;
  // "Enter Custom Frame Rate": the rate as typed; a refused one keeps the dialog open.
  virtual bool SetCustomRate(const std::string& text) = 0;
  // "Rescale Time": the new start and end as typed.
  virtual void Rescale(const std::string& start, const std::string& end) = 0;
  // "Select Compressor": what it lists and the current choice.
  virtual std::vector<CompressorEntry> Compressors() const = 0;
  virtual CompressorChoice Compressor() const = 0;
  virtual void ChooseCompressor(const CompressorChoice& choice) = 0;
  // OK: checks every edit (a refused one keeps the sheet open) and takes the settings over.
  virtual bool Accept() = 0;
};

}  // namespace lumetra::ui
