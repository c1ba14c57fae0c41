#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::ui {

// Controls of the bar (dialog 4018).
enum BarControl : uint32_t {
  kTimeSlider = 4001,
  kInterpolationBox = 4027,
  kKeyButton = 4038,
  kGoToStart = 4042,
  kStepBack = 4043,
  kPlay = 4044,
  kStepForward = 4045,
  kGoToEnd = 4046,
};

// Commands of the key button's popup menu (menu 4028).
enum KeyCommand : uint32_t {
  kSetSelected = 32772,
  kSetObject = 32773,
  kSetScene = 32774,
  kDeleteSelected = 32775,
  kDeleteObject = 32776,
  kDeleteScene = 32777,
  kDeleteFrame = 32784,
  kKeyOptions = 32785,
};

// The key button's picture.
enum class KeyPicture { NoKey, AtKey, BetweenKeys };  // "KeyButtonU", "KeyButtonD", "KeyButtonI"

// Everything the control bar's window shows. The controller hands a fresh copy to the
// window after every change; the window keeps no other state of the bar.
struct BarViewState {
  bool animationMode = false;    // the key button is checked
  bool controlsEnabled = false;  // slider, interpolation box and the four stepping buttons
  int32_t interpolationIndex = 1;
  KeyPicture picture = KeyPicture::NoKey;
  std::string selectedName;
  int32_t minimum = 0;
  int32_t maximum = 99;
  int32_t position = 0;
  std::vector<int32_t> keyTimes;
};

// The controller behind a bar window: the bar's window procedure, which takes the user's
// input as the messages of abi/bar_site_record.h, and the time slider's operations.
class BarController {
 public:
  virtual ~BarController() = default;

  virtual int32_t Send(uint32_t message, uint32_t wparam, int32_t lparam) = 0;
  // The slider's mark `index` was dragged to `time`; sent before the drag notification.
  virtual void MoveKeyMark(int index, int32_t time) = 0;
  // The text in the thumb at `position`.
  virtual std::string ThumbText(int32_t position) const = 0;
  // A value as the slider may take it (whole frames).
  virtual int32_t Snap(int32_t value) const = 0;
  // One step of the slider's arrows.
  virtual int32_t Step() const = 0;
};

// The control bar's window in a real toolkit; lives on the toolkit's GUI thread, where
// the host calls the plug-in. Destroying it destroys the window.
class BarWindow {
 public:
  virtual ~BarWindow() = default;

  virtual void Show(const BarViewState& state) = 0;
  // Where the bar sits in its parent window, and whether it is visible.
  virtual void Place(int32_t left, int32_t top, int32_t width, int32_t height, bool shown) = 0;
  virtual int32_t Height() const = 0;
};

}  // namespace lumetra::ui
