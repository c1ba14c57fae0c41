#include "ui/qt/timeline_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

namespace lumetra::ui::qt {
namespace {

// Records what the dialog tells its controller and draws one key where it is asked.
class FakeTimeline final : public TimelineController {
 public:
  FakeTimeline() {
    rows_ = {{"Ball", TreePicture::Object, 0, 1, -1},
             {"Translate", TreePicture::Vector, 1, 1, 0},
             {"Box", TreePicture::Object, 0, 2, -1},
             {"Rotate", TreePicture::Rotation, 1, 2, 1}};
  }
  const std::vector<TimelineRow>& Rows() const override { return rows_; }
  void SetOnlyKeyed(bool on) override {
    onlyKeyed = on;
    rows_.resize(2);
  }
  bool OnlyKeyed() const override { return onlyKeyed; }
  void SetCurveMode(bool on) override { curves = on; }
  bool CurveMode() const override { return curves; }
  void SetUpdateHost(bool on) override { update = on; }
  bool UpdateHost() const override { return update; }
  void SetSelectedRows(const std::vector<int32_t>& rows) override { selected = rows; }
  void SetVisibleRows(const std::vector<int32_t>& rows) override { visible = rows; }
  PlotPicture Picture(int32_t width, int32_t height) override {
    ++pictures;
    PlotPicture picture;
    picture.plot = {3, 17, width - 3, height - 3};
    return picture;
  }
  bool OverTimeLine(int32_t, int32_t) const override { return false; }
  void Press(int32_t x, int32_t y, PointerKeys keys) override {
    presses.push_back({x, y, keys.shift, keys.alt});
  }
  void Drag(int32_t, int32_t, PointerKeys) override { ++drags; }
  void Release(int32_t, int32_t, PointerKeys) override { ++releases; }
  void Cancel() override { ++cancels; }
  bool Undo() override { return ++undos > 0; }
  bool Redo() override { return ++redos > 0; }
  std::vector<std::string> StatusParts() const override { return {"12", "1 key", "hint"}; }
  int32_t OpeningRow() const override { return openingRow; }
  int32_t TicksOfX(int32_t x) const override { return x * 10; }
  int32_t XOfTicks(int32_t ticks) const override { return ticks / 10; }
  int32_t YOfValue(double value) const override { return static_cast<int32_t>(100 - value); }

  struct Pressed {
    int32_t x, y;
    bool shift, alt;
    bool operator==(const Pressed&) const = default;
  };
  bool onlyKeyed = false, curves = true, update = true;
  int32_t openingRow = 1;
  std::vector<int32_t> selected, visible;
  std::vector<Pressed> presses;
  int pictures = 0, drags = 0, releases = 0, cancels = 0, undos = 0, redos = 0;

 private:
  std::vector<TimelineRow> rows_;
};

class TimelineDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    QApplication::processEvents();
    tree_ = dialog_.findChild<MultiTree*>("CMultiTree");
    ASSERT_NE(tree_, nullptr);
  }
  QAction* Button(int id) { return dialog_.findChild<QAction*>(QString("button%1").arg(id)); }
  QWidget* View(const char* name) { return dialog_.findChild<QWidget*>(name); }
  QPoint RowCentre(int row) {
    QTreeWidgetItem* item = tree_->topLevelItem(0);
    for (int i = 0; i < row; ++i) item = tree_->itemBelow(item);
    return tree_->visualItemRect(item).center();
  }

  FakeTimeline controller_;
  TimelineDialog dialog_{controller_};
  MultiTree* tree_ = nullptr;
};

TEST_F(TimelineDialogTest, ToolbarButtonsTheirTipsAndStates) {
  EXPECT_EQ(dialog_.windowTitle(), "Timeline Editor");
  const std::pair<int, const char*> tips[] = {{4005, "Only display keyed objects/textures"},
                                              {4006, "Edit Keys"},
                                              {4007, "Edit Curves"},
                                              {4008, "Update Zarvel"}};
  for (const auto& [id, tip] : tips) {
    ASSERT_NE(Button(id), nullptr) << id;
    EXPECT_EQ(Button(id)->toolTip(), tip);
  }
  EXPECT_FALSE(Button(4005)->isChecked());
  EXPECT_TRUE(Button(4007)->isChecked());
  EXPECT_TRUE(Button(4008)->isChecked());
  EXPECT_TRUE(View("CurveView")->isVisible());
  EXPECT_FALSE(View("KeyView")->isVisible());

  Button(4006)->trigger();
  EXPECT_FALSE(Button(4007)->isChecked()) << "one of the pair is down";
  EXPECT_FALSE(controller_.curves);
  EXPECT_TRUE(View("KeyView")->isVisible());
  EXPECT_FALSE(View("CurveView")->isVisible());
  Button(4008)->trigger();
  EXPECT_FALSE(controller_.update);
  Button(4005)->trigger();
  EXPECT_TRUE(controller_.onlyKeyed);
  EXPECT_EQ(tree_->topLevelItemCount(), 1) << "the tree was filled again";
}

TEST_F(TimelineDialogTest, TheTreeSelectsWithCtrlShiftAndARectangleThatEscDrops) {
  EXPECT_EQ(controller_.selected, (std::vector<int32_t>{1})) << "the first parameter starts selected";
  EXPECT_EQ(controller_.visible, (std::vector<int32_t>{0, 1, 2, 3}));
  QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(3));
  EXPECT_EQ(controller_.selected.size(), 2u);
  QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, RowCentre(0));
  EXPECT_EQ(controller_.selected, (std::vector<int32_t>{0}));
  QTest::keyClick(tree_, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(controller_.selected.size(), 2u);

  const QPoint from = RowCentre(1) + QPoint(40, 0);
  QTest::mousePress(tree_->viewport(), Qt::LeftButton, {}, from);
  const QPoint to = RowCentre(3) + QPoint(30, 0);
  QMouseEvent move(QEvent::MouseMove, to, tree_->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   {});
  QApplication::sendEvent(tree_->viewport(), &move);
  EXPECT_EQ(controller_.selected.size(), 3u) << "the rectangle touches rows 1 to 3";
  QTest::keyClick(tree_, Qt::Key_Escape);
  QTest::mouseRelease(tree_->viewport(), Qt::LeftButton, {}, RowCentre(3));
  EXPECT_EQ(tree_->selectedItems().size(), 2) << "Esc went back to the selection of the press";
  EXPECT_EQ(controller_.selected.size(), 2u);
}

TEST_F(TimelineDialogTest, TheViewHandsThePointerOnAndUndoKeysReachTheController) {
  QWidget* view = View("CurveView");
  const int before = controller_.pictures;
  QTest::mousePress(view, Qt::LeftButton, Qt::ShiftModifier, {50, 60});
  QTest::mouseMove(view, {70, 60});
  QTest::mouseRelease(view, Qt::LeftButton, Qt::ShiftModifier, {70, 60});
  EXPECT_EQ(controller_.presses, (std::vector<FakeTimeline::Pressed>{{50, 60, true, false}}));
  EXPECT_EQ(controller_.releases, 1);
  EXPECT_GT(controller_.pictures, before) << "repainted after the edit";
  QTest::keyClick(&dialog_, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&dialog_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(controller_.undos, 1);
  EXPECT_EQ(controller_.redos, 1);
}

TEST(TimelineDialogOpening, SelectsTheControllersRowAndAnswersForItsAxesByName) {
  FakeTimeline controller;
  controller.openingRow = 3;
  TimelineDialog dialog(controller);
  EXPECT_EQ(controller.selected, (std::vector<int32_t>{3}));
  QObject* view = dialog.findChild<QWidget*>("CurveView");
  ASSERT_NE(view, nullptr);
  int ticks = 0, column = 0, row = 0;
  ASSERT_TRUE(QMetaObject::invokeMethod(view, "ticksAt", Q_RETURN_ARG(int, ticks), Q_ARG(int, 12)));
  ASSERT_TRUE(QMetaObject::invokeMethod(view, "columnOf", Q_RETURN_ARG(int, column), Q_ARG(int, 340)));
  ASSERT_TRUE(QMetaObject::invokeMethod(view, "rowOf", Q_RETURN_ARG(int, row), Q_ARG(double, 2.0)));
  EXPECT_EQ(ticks, 120);
  EXPECT_EQ(column, 34);
  EXPECT_EQ(row, 98);
}

}  // namespace
}  // namespace lumetra::ui::qt
