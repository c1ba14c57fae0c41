// The control bar's window procedure.
#include "abi/bar_site_record.h"
#include "keyframe/ticks.h"
#include "ui/anim_control_bar.h"

namespace lumetra::ui {
namespace {

bool IsTransportButton(uint32_t control) { return control >= kGoToStart && control <= kGoToEnd; }

bool IsKeyCommand(uint32_t command) {
  return (command >= kSetSelected && command <= kDeleteScene) || command == kDeleteFrame ||
         command == kKeyOptions;
}

}  // namespace

int32_t AnimControlBar::HandleMessage(uint32_t message, uint32_t wparam, int32_t lparam) {
  switch (message) {
    case abi::kBarGetCheck:
      return wparam == kKeyButton && animationMode_ ? 1 : 0;
    case abi::kBarGetSelection:
      return wparam == kInterpolationBox ? interpolationIndex_ : -1;
    case abi::kBarGetFrameTicks:
      return keyframe::TicksPerFrame(timeFormat_.rateIndex, timeFormat_.numerator, timeFormat_.denominator);
    case abi::kBarSlider:
      OnSliderNotify(wparam);
      return 0;
    case abi::kBarCommand:
      break;
    default:
      return 0;
  }
  const uint32_t control = wparam & 0xFFFF, notification = wparam >> 16;
  if (control == kInterpolationBox && notification == abi::kSelectionChanged) {
    OnInterpolationSelected(lparam);
  } else if (notification != abi::kButtonClicked) {
    return 0;
  } else if (control == kKeyButton) {
    ToggleAnimationMode();
  } else if (IsTransportButton(control)) {
    Transport(static_cast<BarControl>(control));
  } else if (IsKeyCommand(control)) {
    RunKeyCommand(control);
  }
  return 0;
}

}  // namespace lumetra::ui
