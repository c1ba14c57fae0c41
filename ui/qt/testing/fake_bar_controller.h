#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "ui/bar_window.h"

class QComboBox;
class QPushButton;

namespace lumetra::ui::qt {
class SliderEx;
}

namespace lumetra::ui::qt::testing {

// A controller behind a bar window, for tests and pictures of the bar. It records what
// the window sends and answers as the plug-in's bar does: slider moves, transport
// buttons, the key button, the interpolation box and mark drags change the state it
// pushes back to the window.
class FakeBarController final : public BarController {
 public:
  // One call from the window, in the order of arrival; MoveKeyMark is message 0 with
  // the index as word and the time as lparam.
  struct Call {
    uint32_t message;
    uint32_t wparam;
    int32_t lparam;
    bool operator==(const Call&) const = default;
  };

  BarViewState state;
  std::vector<Call> calls;
  int32_t frame = 1;  // positions snap to multiples of it
  int32_t step = 1;

  // The window that is shown every change; it gets the current state at once.
  void Attach(BarWindow* window);
  void Push();
  // The slider's notification words received so far.
  std::vector<uint32_t> SliderWords() const;

  int32_t Send(uint32_t message, uint32_t wparam, int32_t lparam) override;
  void MoveKeyMark(int index, int32_t time) override;
  std::string ThumbText(int32_t position) const override;
  int32_t Snap(int32_t value) const override { return value / frame * frame; }
  int32_t Step() const override { return step; }

 private:
  void Command(uint32_t control, uint32_t notification, int32_t lparam);

  BarWindow* window_ = nullptr;
};

// A host window with a control bar across its top, driven by a FakeBarController
// that starts with `state`.
class BarHost {
 public:
  BarHost(int width, const BarViewState& state);

  QWidget window;
  FakeBarController controller;
  std::unique_ptr<BarWindow> bar;

  QWidget* Bar() const;
  SliderEx* Slider() const;
  QPushButton* Button(uint32_t control) const;
  QComboBox* InterpolationBox() const;
};

// Tests and pictures run without a display unless one is asked for.
void UseOffscreenUnlessSet();

}  // namespace lumetra::ui::qt::testing
