#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QPointer>
#include <QWidget>

#include "ui/bar_window.h"
#include "ui/qt/slider_ex.h"

class QComboBox;
class QMenu;
class QPushButton;

namespace lumetra::ui::qt {

// The time slider of the control bar, counting as its controller does.
class BarSlider final : public SliderEx {
  Q_OBJECT

 public:
  BarSlider(BarController& controller, QWidget* parent);

 protected:
  std::string ThumbText(int32_t position) const override { return controller_.ThumbText(position); }
  int32_t Snap(int32_t value) const override { return controller_.Snap(value); }
  int32_t Step() const override { return controller_.Step(); }

 private:
  BarController& controller_;
};

// The animation control bar: key button with its popup menu, transport buttons,
// interpolation box and time slider. It shows what its controller pushes and hands
// every click to the controller as the bar's window messages.
class ControlBar final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 40;
  static constexpr int kMinimumSliderWidth = 32;

  ControlBar(BarController& controller, QWidget* parent);

  void Show(const BarViewState& state);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Click(uint32_t control);
  void BuildKeyMenu();

  BarController& controller_;
  QPushButton* keyButton_;
  std::array<QPushButton*, 5> transport_{};
  QComboBox* interpolation_;
  BarSlider* slider_;
  QMenu* keyMenu_;
  KeyPicture picture_ = KeyPicture::NoKey;
};

// The bar as the plug-in holds it. The host window may take the bar with it when it
// closes first; the bar window then does nothing.
class QtBarWindow final : public BarWindow {
 public:
  explicit QtBarWindow(ControlBar* bar) : bar_(bar) {}
  ~QtBarWindow() override { delete bar_.data(); }

  void Show(const BarViewState& state) override;
  void Place(int32_t left, int32_t top, int32_t width, int32_t height, bool shown) override;
  int32_t Height() const override { return ControlBar::kHeight; }

 private:
  QPointer<ControlBar> bar_;
};

// The bar as a child of the widget whose native window is `parent`; null for none.
std::unique_ptr<BarWindow> MakeControlBar(uint32_t parent, BarController& controller);

}  // namespace lumetra::ui::qt
