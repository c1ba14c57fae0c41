#include "ui/qt/control_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "abi/bar_site_record.h"
#include "ui/qt/testing/fake_bar_controller.h"

namespace lumetra::ui::qt {
namespace {

using testing::BarHost;
using Call = testing::FakeBarController::Call;

constexpr int kBarWidth = 600;
constexpr std::array<uint32_t, 4> kSteppingButtons = {kGoToStart, kStepBack, kStepForward, kGoToEnd};

BarViewState Animating() {
  BarViewState state;
  state.animationMode = true;
  state.controlsEnabled = true;
  state.maximum = 100;
  state.position = 40;
  state.selectedName = "Sphere";
  return state;
}

TEST(ControlBar, ControlsFollowTheStateAndPlayStaysOff) {
  BarHost host(kBarWidth, Animating());
  for (const uint32_t control : kSteppingButtons) EXPECT_TRUE(host.Button(control)->isEnabled()) << control;
  EXPECT_TRUE(host.InterpolationBox()->isEnabled());
  EXPECT_TRUE(host.Slider()->isEnabled());
  EXPECT_FALSE(host.Button(kPlay)->isEnabled());
  EXPECT_TRUE(host.Button(kKeyButton)->isChecked());
  EXPECT_EQ(host.Button(kKeyButton)->toolTip(), "Sphere");

  host.controller.state.controlsEnabled = false;
  host.controller.state.animationMode = false;
  host.controller.Push();
  for (const uint32_t control : kSteppingButtons) EXPECT_FALSE(host.Button(control)->isEnabled()) << control;
  EXPECT_FALSE(host.InterpolationBox()->isEnabled());
  EXPECT_FALSE(host.Slider()->isEnabled());
  EXPECT_FALSE(host.Button(kPlay)->isEnabled());
  EXPECT_TRUE(host.Button(kKeyButton)->isEnabled());
  EXPECT_FALSE(host.Button(kKeyButton)->isChecked());
}

TEST(ControlBar, ButtonsAndTheBoxSendTheirCommands) {
  BarHost host(kBarWidth, Animating());
  for (const uint32_t control : {kGoToEnd, kStepBack, kStepForward, kGoToStart, kPlay}) {
    QTest::mouseClick(host.Button(control), Qt::LeftButton);
  }
  emit host.InterpolationBox()->activated(2);
  EXPECT_EQ(host.controller.calls,
            (std::vector<Call>{
                {abi::kBarCommand, kGoToEnd, 0},
                {abi::kBarCommand, kStepBack, 0},
                {abi::kBarCommand, kStepForward, 0},
                {abi::kBarCommand, kGoToStart, 0},
                {abi::kBarCommand, (abi::kSelectionChanged << 16) | kInterpolationBox, 2},
            }));
  // The controller's answers come back as the bar's state.
  EXPECT_EQ(host.Slider()->Pos(), 0);
  EXPECT_EQ(host.InterpolationBox()->currentIndex(), 2);
}

TEST(ControlBar, KeyButtonTogglesAnimationModeThroughTheController) {
  BarViewState state;
  state.maximum = 100;
  BarHost host(kBarWidth, state);
  QPushButton* key = host.Button(kKeyButton);
  QTest::mouseClick(key, Qt::LeftButton);
  EXPECT_EQ(host.controller.calls, (std::vector<Call>{{abi::kBarCommand, kKeyButton, 0}}));
  EXPECT_TRUE(key->isChecked());
  EXPECT_TRUE(host.Button(kGoToEnd)->isEnabled());
  QTest::mouseClick(key, Qt::LeftButton);
  EXPECT_FALSE(key->isChecked());
  EXPECT_FALSE(host.Button(kGoToEnd)->isEnabled());
}

// The red of the key button's picture, in the button's upper and lower half.
std::pair<int, int> RedPixels(QPushButton* button) {
  const QImage picture = button->grab().toImage();
  int upper = 0, lower = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor colour = picture.pixelColor(x, y);
      if (colour.red() > 150 && colour.green() < 80 && colour.blue() < 80)
        ++(y < picture.height() / 2 ? upper : lower);
    }
  }
  return {upper, lower};
}

TEST(ControlBar, KeyButtonPictureShowsWhetherTheObjectHasAKeyHere) {
  BarHost host(kBarWidth, Animating());
  QPushButton* key = host.Button(kKeyButton);
  EXPECT_EQ(RedPixels(key), std::pair(0, 0));

  host.controller.state.picture = KeyPicture::AtKey;
  host.controller.Push();
  const auto [atUpper, atLower] = RedPixels(key);
  EXPECT_GT(atUpper, 10);
  EXPECT_GT(atLower, 10);

  host.controller.state.picture = KeyPicture::BetweenKeys;
  host.controller.Push();
  const auto [betweenUpper, betweenLower] = RedPixels(key);
  EXPECT_LT(betweenUpper, atUpper / 4) << "filled up to its middle only";
  EXPECT_GT(betweenLower, atLower / 2);
}

TEST(ControlBar, RightClickOpensTheKeyMenuAtThePointerAndItSendsTheChosenCommand) {
  BarHost host(kBarWidth, Animating());
  QPushButton* key = host.Button(kKeyButton);
  const QPoint at(5, 6);
  QTest::mouseClick(key, Qt::RightButton, {}, at);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->geometry().topLeft(), key->mapToGlobal(at));
  EXPECT_TRUE(host.controller.calls.empty()) << "a right click is no click of the button";

  struct Entry {
    const char* submenu;
    const char* item;
    uint32_t command;
  };
  const std::vector<Entry> entries = {
      {"Set", "Selected", kSetSelected},   {"Set", "Object", kSetObject},
      {"Set", "Scene", kSetScene},         {"Delete", "Selected", kDeleteSelected},
      {"Delete", "Object", kDeleteObject}, {"Delete", "Frame", kDeleteFrame},
      {"Delete", "Scene", kDeleteScene},   {nullptr, "Options", kKeyOptions},
  };
  for (const Entry& entry : entries) {
    const QMenu* holder = menu;
    if (entry.submenu) {
      holder = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->text() == entry.submenu) holder = action->menu();
      }
      ASSERT_NE(holder, nullptr) << entry.submenu;
    }
    QAction* chosen = nullptr;
    for (QAction* action : holder->actions()) {
      if (action->text() == entry.item) chosen = action;
    }
    ASSERT_NE(chosen, nullptr) << entry.item;
    host.controller.calls.clear();
    chosen->trigger();
    EXPECT_EQ(host.controller.calls, (std::vector<Call>{{abi::kBarCommand, entry.command, 0}})) << entry.item;
  }
  menu->close();
}

TEST(ControlBar, SliderTakesTheRestOfTheBarButNeverLessThanItsMinimum) {
  BarHost host(kBarWidth, Animating());
  const int sliderLeft = host.Slider()->x();
  EXPECT_GT(sliderLeft, host.InterpolationBox()->geometry().right());
  EXPECT_EQ(host.bar->Height(), ControlBar::kHeight);

  host.bar->Place(0, 0, 900, ControlBar::kHeight, true);
  EXPECT_EQ(host.Slider()->geometry(), QRect(sliderLeft, 0, 900 - sliderLeft, ControlBar::kHeight));
  host.bar->Place(10, 20, sliderLeft + 10, ControlBar::kHeight, true);
  EXPECT_EQ(host.Bar()->geometry(), QRect(10, 20, sliderLeft + 10, ControlBar::kHeight));
  EXPECT_EQ(host.Slider()->geometry(),
            QRect(sliderLeft, 0, ControlBar::kMinimumSliderWidth, ControlBar::kHeight));

  host.bar->Place(0, 0, kBarWidth, ControlBar::kHeight, false);
  EXPECT_FALSE(host.Bar()->isVisible());
  host.bar->Place(0, 0, kBarWidth, ControlBar::kHeight, true);
  EXPECT_TRUE(host.Bar()->isVisible());
}

TEST(ControlBar, NeedsAnExistingHostWindow) {
  testing::FakeBarController controller;
  EXPECT_EQ(MakeControlBar(0, controller), nullptr);
  auto gone = std::make_unique<QWidget>();
  const auto id = static_cast<uint32_t>(gone->winId());
  gone.reset();
  EXPECT_EQ(MakeControlBar(id, controller), nullptr);
}

TEST(ControlBar, OutlivedByItsWindowWhenTheHostClosesFirst) {
  testing::FakeBarController controller;
  auto host = std::make_unique<QWidget>();
  std::unique_ptr<BarWindow> bar = MakeControlBar(static_cast<uint32_t>(host->winId()), controller);
  ASSERT_NE(bar, nullptr);
  host.reset();
  bar->Show(Animating());
  bar->Place(0, 0, 100, 40, true);
  bar.reset();
}

}  // namespace
}  // namespace lumetra::ui::qt
