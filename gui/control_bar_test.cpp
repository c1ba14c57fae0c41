// The plug-in's control bar in the host's window, driven as a person drives it: the
// plug-in makes the bar in its Qt windows library; the test sees it as widgets only.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <cmath>
#include <cstring>

#include "abi/bar_site_record.h"

#include "gui/testing/gui_host.h"
#include "gui/view_area.h"
#include "host/bar_site.h"

namespace lumetra::gui {
namespace {

using testing::AnswerNextBox;
using testing::Await;

constexpr int32_t kEnd = 9600;  // two seconds

class ControlBarTest : public testing::GuiHost {
 protected:
  void SetUp() override {
    GuiHost::SetUp();
    bar_ = window_->Views().findChild<QWidget*>("AnimControlBar");
    ASSERT_NE(bar_, nullptr) << "the plug-in made no bar in the host's window";
    slider_ = bar_->findChild<QWidget*>("CSliderEx");
    ASSERT_NE(slider_, nullptr);
    // The ball keyed at x 0 at the start, and the scene's stored animation made two seconds
    // long: the end time is the keyframe data's second field, after the version byte.
    QTest::mouseClick(Button(4038), Qt::LeftButton);
    ASSERT_TRUE(Button(4038)->isChecked());
    Choose("Marble Ball");
    EditPosition(1.0);  // the ball stands at 0: a change first, then the key's value
    EditPosition(0.0);
    std::vector<uint8_t> data = window_->Session().PluginData();
    ASSERT_GE(data.size(), 9u);
    std::memcpy(&data[5], &kEnd, sizeof kEnd);
    ASSERT_TRUE(window_->Session().LoadPluginData(data));
    QApplication::processEvents();
    ASSERT_EQ(slider_->property("maximum").toInt(), kEnd);
    // The bar steps by the frames of the scene's frame rate, which it tells the host.
    frame_ = host::BarSite::Instance().Send(abi::kBarGetFrameTicks, 0);
    ASSERT_GT(frame_, 0);
  }

  QAbstractButton* Button(int id) { return bar_->findChild<QAbstractButton*>(QString("button%1").arg(id)); }
  int32_t Position() { return slider_->property("position").toInt(); }
  QRect Thumb() { return slider_->property("thumbRect").toRect(); }
  double BallX() { return Scene().FindByName("Marble Ball")->params.translate[0]; }
  // Where the key band shows a mark at `time`.
  int MarkX(int32_t time) { return 3 + static_cast<int>(int64_t{time} * (slider_->width() - 5) / kEnd); }
  static constexpr int kKeyRow = 30;

  // Drags the thumb by `dx` pixels from the middle of its text.
  void DragThumb(int dx) {
    const QPoint from(Thumb().center().x(), Thumb().center().y());
    QTest::mousePress(slider_, Qt::LeftButton, {}, from);
    QTest::mouseMove(slider_, from + QPoint(dx / 2, 0));
    QTest::mouseMove(slider_, from + QPoint(dx, 0));
    QTest::mouseRelease(slider_, Qt::LeftButton, {}, from + QPoint(dx, 0));
    QApplication::processEvents();
  }

  // The ball keyed at x 4 at the end as well.
  void KeyTheBall() {
    ASSERT_TRUE(Button(4038)->isChecked());
    DragThumb(slider_->width());
    ASSERT_EQ(Position(), kEnd) << "dragged past the end, the thumb stops there";
    EditPosition(4.0);
  }

  QWidget* bar_ = nullptr;
  QWidget* slider_ = nullptr;
  int32_t frame_ = 0;  // ticks a frame
};

TEST_F(ControlBarTest, DraggingTheThumbMovesTheTimeAndPosesTheObject) {
  EXPECT_TRUE(slider_->isEnabled()) << "in animation mode";
  KeyTheBall();
  EXPECT_FALSE(Button(4044)->isEnabled()) << "play is never enabled";
  DragThumb(-(Thumb().left() - 1) / 4 * 3);
  const int32_t at = Position();
  ASSERT_GT(at, 0);
  ASSERT_LT(at, kEnd);
  EXPECT_EQ(at % frame_, 0) << "the thumb stops at whole frames";
  EXPECT_NEAR(BallX(), 4.0 * at / kEnd, 1e-9) << "posed by the linear keys at the new time";
  EXPECT_TRUE(Await([&] { return std::abs(Editor("Position", 0)->value() - BallX()) < 1e-3; }))
      << "the panel follows";
}

TEST_F(ControlBarTest, DraggingAKeyMarkMovesTheKeysButNotWithShiftHeld) {
  KeyTheBall();
  const QPoint end(MarkX(kEnd), kKeyRow), middle(MarkX(kEnd / 2), kKeyRow);
  QTest::mousePress(slider_, Qt::LeftButton, {}, end);
  QTest::mouseMove(slider_, middle);
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, middle);
  QTest::mouseClick(Button(4042), Qt::LeftButton);  // go to the start
  QTest::mouseClick(Button(4045), Qt::LeftButton);  // step to the next key time
  // The key lies in the middle now, at the time under the pointer; the thumb shows the
  // whole frame it falls in.
  const int32_t moved = Position();
  EXPECT_NEAR(moved, kEnd / 2, frame_ + kEnd / 50) << "the key now lies in the middle";
  EXPECT_EQ(BallX(), 4.0);
  QTest::mouseClick(Button(4045), Qt::LeftButton);
  EXPECT_EQ(Position(), moved) << "no key after it";
  DragThumb(-(Thumb().left() - 1) / 2);
  ASSERT_LT(Position(), moved);
  EXPECT_LE(BallX(), 4.0 * Position() / moved) << "posed from the moved key";
  EXPECT_GE(BallX(), 4.0 * Position() / (moved + frame_));

  // With Shift the mark moves but the keys stay.
  QTest::mousePress(slider_, Qt::LeftButton, {}, middle);
  QTest::mouseMove(slider_, end);
  QTest::mouseRelease(slider_, Qt::LeftButton, Qt::ShiftModifier, end);
  QTest::mouseClick(Button(4042), Qt::LeftButton);
  QTest::mouseClick(Button(4045), Qt::LeftButton);
  EXPECT_EQ(Position(), moved);
  EXPECT_EQ(BallX(), 4.0);
}

TEST_F(ControlBarTest, AnArrowStepsAFrameAndRepeatsWhileHeld) {
  KeyTheBall();
  QTest::mouseClick(Button(4042), Qt::LeftButton);
  ASSERT_EQ(Position(), 0);
  const QPoint rightArrow(Thumb().right() - 2, Thumb().center().y());
  QTest::mouseClick(slider_, Qt::LeftButton, {}, rightArrow);
  EXPECT_EQ(Position(), frame_);
  EXPECT_NEAR(BallX(), 4.0 * frame_ / kEnd, 1e-9);

  QTest::mousePress(slider_, Qt::LeftButton, {}, QPoint(Thumb().right() - 2, Thumb().center().y()));
  EXPECT_EQ(Position(), 2 * frame_);
  QTest::qWait(300 + 4 * 50 + 100);
  QTest::mouseRelease(slider_, Qt::LeftButton, {}, QPoint(Thumb().right() - 2, Thumb().center().y()));
  const int32_t held = Position();
  EXPECT_GE(held, 4 * frame_) << "the step repeats while the arrow is held";
  EXPECT_EQ(held % frame_, 0);
  QTest::qWait(150);
  EXPECT_EQ(Position(), held) << "and stops when it is let go";
  EXPECT_NEAR(BallX(), 4.0 * held / kEnd, 1e-9);
}

TEST_F(ControlBarTest, DeletingFromTheKeyMenuAsksInARealMessageBox) {
  KeyTheBall();
  // Opens the key button's menu and chooses Delete > `item`, answering the question with `answer`.
  const auto deleteBy = [&](const QString& item, QMessageBox::StandardButton answer) {
    QTest::mouseClick(Button(4038), Qt::RightButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QAction* chosen = nullptr;
    for (QAction* action : menu ? menu->actions() : QList<QAction*>{}) {
      if (action->text() != "Delete" || !action->menu()) continue;
      for (QAction* entry : action->menu()->actions()) {
        if (entry->text() == item) chosen = entry;
      }
    }
    QString asked;
    if (!chosen) return asked;
    AnswerNextBox(answer, &asked);
    chosen->trigger();
    menu->close();
    return asked;
  };
  // Where the next key after the start lies, or the start when there is none.
  const auto nextKeyTime = [&] {
    QTest::mouseClick(Button(4042), Qt::LeftButton);
    QTest::mouseClick(Button(4045), Qt::LeftButton);
    return Position();
  };

  EXPECT_TRUE(deleteBy("Scene", QMessageBox::Cancel).startsWith("All keys of the scene, at every frame"));
  EXPECT_EQ(nextKeyTime(), kEnd) << "cancelled: the keys stay";
  QTest::mouseClick(Button(4046), Qt::LeftButton);  // to the end, where the second key is
  EXPECT_TRUE(
      deleteBy("Frame", QMessageBox::Cancel).startsWith("All keys at this frame are about to be removed."));
  EXPECT_EQ(nextKeyTime(), kEnd);
  QTest::mouseClick(Button(4046), Qt::LeftButton);
  EXPECT_FALSE(deleteBy("Frame", QMessageBox::Ok).isEmpty());
  EXPECT_EQ(nextKeyTime(), 0) << "no key time after the start any more";
}

}  // namespace
}  // namespace lumetra::gui
