#pragma once

#include <QDialog>
#include <QRubberBand>
#include <QTreeWidget>
#include <QWidget>

#include "ui/timeline_window.h"

class QAction;
class QLabel;

namespace lumetra::ui::qt {

// A tree with multiple selection: click, Ctrl-click and Shift-click or Shift-Up/Down as
// usual, and a selection rectangle dragged from any press, scrolling at the edges and
// dropped by Esc. Selected items keep their highlight without the focus.
class MultiTree final : public QTreeWidget {
  Q_OBJECT

 public:
  explicit MultiTree(QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SelectTouched(const QRect& band);

  QRubberBand band_{QRubberBand::Rectangle, this};
  QPoint pressAt_;  // in content coordinates
  bool pressed_ = false;
  QList<QTreeWidgetItem*> selectedAtPress_;
};

// The key view or the curve view: paints its controller's picture and hands it the
// mouse. Its axes as of the last paint can be asked by name, so a program that sees only
// widgets can read the picture.
class TimelinePlot final : public QWidget {
  Q_OBJECT

 public:
  TimelinePlot(TimelineController& controller, QWidget* parent);

  Q_INVOKABLE int ticksAt(int x) const { return controller_.TicksOfX(x); }
  Q_INVOKABLE int columnOf(int ticks) const { return controller_.XOfTicks(ticks); }
  Q_INVOKABLE int rowOf(double value) const { return controller_.YOfValue(value); }

 signals:
  void Edited();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TimelineController& controller_;
  bool pressed_ = false;
};

// The "Timeline Editor" dialog: toolbar, tree, the two views and the status bar.
class TimelineDialog final : public QDialog {
  Q_OBJECT

 public:
  TimelineDialog(TimelineController& controller, QWidget* parent = nullptr);

 protected:
  // The key view's rows follow the tree's visible items, which change with its height.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FillTree();
  void ShowMode();
  void Update();
  void TellVisibleRows();

  TimelineController& controller_;
  MultiTree* tree_;
  TimelinePlot* keyView_;
  TimelinePlot* curveView_;
  QList<QLabel*> status_;
};

// Runs the editor modally on the GUI thread.
void RunTimelineDialog(TimelineController& controller);

}  // namespace lumetra::ui::qt
