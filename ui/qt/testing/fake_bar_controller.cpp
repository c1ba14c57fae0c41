#include "ui/qt/testing/fake_bar_controller.h"

#include <QByteArray>
#include <QComboBox>
#include <QPushButton>
#include <QtGlobal>

#include "abi/bar_site_record.h"
#include "ui/qt/control_bar.h"
#include "ui/qt/slider_ex.h"
#include "ui/time_slider.h"

namespace lumetra::ui::qt::testing {

void FakeBarController::Attach(BarWindow* window) {
  window_ = window;
  Push();
}

void FakeBarController::Push() {
  if (window_) window_->Show(state);
}

std::vector<uint32_t> FakeBarController::SliderWords() const {
  std::vector<uint32_t> words;
  for (const Call& call : calls) {
    if (call.message == abi::kBarSlider) words.push_back(call.wparam);
  }
  return words;
}

int32_t FakeBarController::Send(uint32_t message, uint32_t wparam, int32_t lparam) {
  calls.push_back({message, wparam, lparam});
  constexpr uint32_t kKeyDrag = kSliderKeyDragBegins | kSliderKeyDragMoved | kSliderKeyDragEnds;
  if (message == abi::kBarSlider && !(wparam & kKeyDrag)) {
    state.position = static_cast<int32_t>(wparam & kSliderValueMask);
    Push();
  } else if (message == abi::kBarCommand) {
    Command(wparam & 0xFFFF, wparam >> 16, lparam);
  }
  return 0;
}

void FakeBarController::Command(uint32_t control, uint32_t notification, int32_t lparam) {
  if (control == kInterpolationBox && notification == abi::kSelectionChanged) {
    state.interpolationIndex = lparam;
  } else if (notification != abi::kButtonClicked) {
    return;
  } else if (control == kKeyButton) {
    state.animationMode = !state.animationMode;
    state.controlsEnabled = state.animationMode;
  } else if (control == kGoToStart) {
    state.position = state.minimum;
  } else if (control == kGoToEnd) {
    state.position = state.maximum;
  } else {
    return;
  }
  Push();
}

void FakeBarController::MoveKeyMark(int index, int32_t time) {
  calls.push_back({0, static_cast<uint32_t>(index), time});
  state.keyTimes.at(static_cast<size_t>(index)) = time;
  Push();
}

std::string FakeBarController::ThumbText(int32_t position) const {
  return std::to_string(position / frame) + "/" + std::to_string((state.maximum - state.minimum) / frame);
}

BarHost::BarHost(int width, const BarViewState& state) {
  window.resize(width, 2 * ControlBar::kHeight);
  window.show();
  controller.state = state;
  bar = MakeControlBar(static_cast<uint32_t>(window.winId()), controller);
  controller.Attach(bar.get());
  bar->Place(0, 0, width, bar->Height(), true);
}

QWidget* BarHost::Bar() const { return window.findChild<QWidget*>("AnimControlBar"); }

SliderEx* BarHost::Slider() const { return window.findChild<SliderEx*>("CSliderEx"); }

QPushButton* BarHost::Button(uint32_t control) const {
  return window.findChild<QPushButton*>(QString("button%1").arg(control));
}

QComboBox* BarHost::InterpolationBox() const {
  return window.findChild<QComboBox*>(QString("combo%1").arg(kInterpolationBox));
}

void UseOffscreenUnlessSet() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace lumetra::ui::qt::testing
