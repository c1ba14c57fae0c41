#include "ui/qt/timeline_dialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <array>
#include <vector>

namespace lumetra::ui::qt {
namespace {

constexpr int kRowHeight = 20;
constexpr int kTreeWidth = 168;
constexpr int kScrollStep = kRowHeight;

QColor Rgb(uint32_t colour) { return QColor::fromRgb(colour); }

// Every tree row is as high as a key view row, so the two line up.
class RowDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
  }
};

// The 20 x 20 pictures of tree items: a letter on a colour by kind.
QIcon TreeIcon(TreePicture picture) {
  struct Look {
    QColor colour;
    const char* letter;
  };
  static const std::array<Look, 15> kLooks{{
      {QColor(90, 120, 200), "O"},  // object
      {QColor(200, 160, 60), "G"},  // group
      {QColor(230, 200, 40), "L"},  // light
      {QColor(80, 80, 80), "C"},    // camera
      {QColor(60, 160, 90), "\u222a"},
      {QColor(60, 160, 90), "\u2229"},
      {QColor(60, 160, 90), "\u2212"},
      {QColor(60, 160, 90), "M"},
      {QColor(170, 90, 170), "T"},   // texture node
      {QColor(200, 170, 200), "t"},  // texture node without a label of its own
      {QColor(40, 40, 40), "s"},     // scalar
      {QColor(40, 110, 40), "v"},    // vector
      {QColor(200, 60, 60), "c"},    // colour
      {QColor(40, 40, 180), "r"},    // rotation
      {QColor(150, 100, 30), "x"},   // scale
  }};
  const Look& look = kLooks[static_cast<size_t>(picture)];
  QPixmap pixmap(kRowHeight, kRowHeight);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(look.colour);
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(2, 2, 16, 16), 3, 3);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(12);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(2, 2, 16, 16), Qt::AlignCenter, QString::fromUtf8(look.letter));
  return QIcon(pixmap);
}

PointerKeys KeysOf(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::AltModifier)};
}

QRect ToQRect(const PlotRect& rect) {
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

}  // namespace

MultiTree::MultiTree(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("CMultiTree");
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setItemDelegate(new RowDelegate(this));
  setIconSize(QSize(kRowHeight, kRowHeight));
  setUniformRowHeights(true);
  // The selection stays as visible as with the focus.
  QPalette colours = palette();
  for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

void MultiTree::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  pressAt_ = event->position().toPoint() + QPoint(horizontalOffset(), verticalOffset());
  selectedAtPress_ = selectedItems();
}

void MultiTree::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) return QTreeWidget::mouseMoveEvent(event);
  const QPoint at = event->position().toPoint();
  const QPoint offset(horizontalOffset(), verticalOffset());
  if (!band_.isVisible() && (at + offset - pressAt_).manhattanLength() < QApplication::startDragDistance())
    return;
  // Past the edges the tree scrolls toward the pointer.
  if (at.y() < 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - kScrollStep);
  if (at.y() > viewport()->height())
    verticalScrollBar()->setValue(verticalScrollBar()->value() + kScrollStep);
  const QPoint scrolled(horizontalOffset(), verticalOffset());
  const QRect band = QRect(pressAt_ - scrolled, at).normalized().intersected(viewport()->rect());
  band_.setGeometry(band.translated(viewport()->pos()));
  band_.show();
  SelectTouched(band);
}

void MultiTree::SelectTouched(const QRect& band) {
  QItemSelection touched;
  for (QTreeWidgetItem* item = itemAt(0, 0); item; item = itemBelow(item)) {
    const QRect rect = visualItemRect(item);
    if (rect.top() > viewport()->height()) break;
    if (rect.intersects(band)) touched.select(indexFromItem(item), indexFromItem(item));
  }
  selectionModel()->select(touched, QItemSelectionModel::ClearAndSelect);
}

void MultiTree::mouseReleaseEvent(QMouseEvent* event) {
  pressed_ = false;
  band_.hide();
  QTreeWidget::mouseReleaseEvent(event);
}

void MultiTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && band_.isVisible()) {
    band_.hide();
    pressed_ = false;
    clearSelection();
    for (QTreeWidgetItem* item : selectedAtPress_) item->setSelected(true);
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

TimelinePlot::TimelinePlot(TimelineController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
}

void TimelinePlot::paintEvent(QPaintEvent*) {
  const PlotPicture picture = controller_.Picture(width(), height());
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(ToQRect(picture.ruler), QColor(235, 235, 235));
  painter.setPen(Qt::gray);
  painter.drawRect(ToQRect(picture.plot));
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QRect ruler = ToQRect(picture.ruler);
  for (const PlotLabel& label : picture.timeLabels) {
    painter.drawLine(label.at, ruler.bottom() - 3, label.at, ruler.bottom());
    painter.drawText(QRect(label.at + 2, ruler.top(), 60, ruler.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(label.text));
  }
  const QRect plot = ToQRect(picture.plot);
  painter.setClipRect(plot.adjusted(1, 1, 0, 0));
  for (const PlotLabel& label : picture.valueLabels) {
    painter.setPen(QColor(225, 225, 225));
    painter.drawLine(plot.left(), label.at, plot.right(), label.at);
    painter.setPen(Qt::darkGray);
    painter.drawText(QPoint(plot.left() + 3, label.at - 2), QString::fromStdString(label.text));
  }
  if (picture.timeLineX) {
    painter.setPen(QPen(QColor(0, 120, 215), 1));
    painter.drawLine(*picture.timeLineX, plot.top(), *picture.timeLineX, plot.bottom());
  }
  for (const PlotPolyline& line : picture.lines) {
    painter.setPen(QPen(Rgb(line.colour), 1));
    std::vector<QPoint> points;
    for (const PlotPoint& point : line.points) points.emplace_back(point.x, point.y);
    painter.drawPolyline(points.data(), static_cast<int>(points.size()));
  }
  for (const PlotCircle& circle : picture.circles) {
    painter.setPen(Rgb(circle.outline));
    painter.setBrush(Rgb(circle.fill));
    painter.drawEllipse(QPoint(circle.centre.x, circle.centre.y), 3, 3);
  }
  if (picture.selection) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(ToQRect(*picture.selection));
  }
}

void TimelinePlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  const QPoint at = event->position().toPoint();
  controller_.Press(at.x(), at.y(), KeysOf(event->modifiers()));
  emit Edited();
}

void TimelinePlot::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!pressed_) {
    setCursor(controller_.OverTimeLine(at.x(), at.y()) ? Qt::SizeHorCursor : Qt::ArrowCursor);
    return;
  }
  controller_.Drag(at.x(), at.y(), KeysOf(event->modifiers()));
  emit Edited();
}

void TimelinePlot::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const QPoint at = event->position().toPoint();
  controller_.Release(at.x(), at.y(), KeysOf(event->modifiers()));
  emit Edited();
}

void TimelinePlot::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape || !pressed_) return QWidget::keyPressEvent(event);
  controller_.Cancel();
  emit Edited();
}

TimelineDialog::TimelineDialog(TimelineController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
  setObjectName("TimelineEditor");
  setWindowTitle(kTimelineCaption);
  setSizeGripEnabled(true);
  resize(760, 420);

  auto* toolbar = new QToolBar(this);
  toolbar->setObjectName("TimelineToolbar");
  toolbar->setIconSize(QSize(16, 16));
  const auto button = [&](TimelineControl id, const char* text, const char* tip) {
    QAction* action = toolbar->addAction(text);
    action->setObjectName(QString("button%1").arg(id));
    action->setToolTip(tip);
    action->setCheckable(true);
    return action;
  };
  QAction* onlyKeyed = button(kOnlyKeyedButton, "Keyed", "Only display keyed objects/textures");
  toolbar->addSeparator();
  QAction* keys = button(kEditKeysButton, "Keys", "Edit Keys");
  QAction* curves = button(kEditCurvesButton, "Curves", "Edit Curves");
  toolbar->addSeparator();
  QAction* update = button(kUpdateHostButton, "Update", "Update Zarvel");
  auto* modes = new QActionGroup(this);
  modes->addAction(keys);
  modes->addAction(curves);
  onlyKeyed->setChecked(controller_.OnlyKeyed());
  curves->setChecked(controller_.CurveMode());
  keys->setChecked(!controller_.CurveMode());
  update->setChecked(controller_.UpdateHost());

  tree_ = new MultiTree(this);
  tree_->setFixedWidth(kTreeWidth);
  keyView_ = new TimelinePlot(controller_, this);
  keyView_->setObjectName("KeyView");
  curveView_ = new TimelinePlot(controller_, this);
  curveView_->setObjectName("CurveView");

  auto* statusBar = new QStatusBar(this);
  for (int part = 0; part < 3; ++part) {
    auto* label = new QLabel(this);
    label->setMinimumWidth(part < 2 ? 64 : 0);
    status_.append(label);
    statusBar->addWidget(label, part < 2 ? 0 : 1);
  }

  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(11, 0, 10, 0);
  middle->addWidget(tree_);
  middle->addWidget(keyView_, 1);
  middle->addWidget(curveView_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(toolbar);
  layout->addLayout(middle, 1);
  layout->addWidget(statusBar);

  connect(onlyKeyed, &QAction::toggled, this, [this](bool on) {
    controller_.SetOnlyKeyed(on);
    tree_->hide();
    FillTree();
    tree_->show();
    Update();
  });
  connect(curves, &QAction::toggled, this, [this](bool on) {
    controller_.SetCurveMode(on);
    ShowMode();
  });
  connect(update, &QAction::toggled, this, [this](bool on) { controller_.SetUpdateHost(on); });
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] {
    std::vector<int32_t> rows;
    for (QTreeWidgetItem* item : tree_->selectedItems()) rows.push_back(item->data(0, Qt::UserRole).toInt());
    controller_.SetSelectedRows(rows);
    Update();
  });
  connect(tree_, &QTreeWidget::itemExpanded, this, &TimelineDialog::Update);
  connect(tree_, &QTreeWidget::itemCollapsed, this, &TimelineDialog::Update);
  connect(tree_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TimelineDialog::Update);
  for (TimelinePlot* view : {keyView_, curveView_})
    connect(view, &TimelinePlot::Edited, this, &TimelineDialog::Update);
  auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
  connect(undo, &QShortcut::activated, this, [this] {
    if (controller_.Undo()) Update();
  });
  auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
  connect(redo, &QShortcut::activated, this, [this] {
    if (controller_.Redo()) Update();
  });

  FillTree();
  ShowMode();
}

void TimelineDialog::FillTree() {
  const QSignalBlocker blocker(tree_);
  tree_->clear();
  std::vector<QTreeWidgetItem*> parents;  // the last item at each depth
  const std::vector<TimelineRow>& rows = controller_.Rows();
  for (size_t index = 0; index < rows.size(); ++index) {
    const TimelineRow& row = rows[index];
    const size_t depth = static_cast<size_t>(row.depth);
    auto* item = depth == 0 || depth > parents.size() ? new QTreeWidgetItem(tree_)
                                                      : new QTreeWidgetItem(parents[depth - 1]);
    item->setText(0, QString::fromStdString(row.label));
    item->setIcon(0, TreeIcon(row.picture));
    item->setData(0, Qt::UserRole, static_cast<int>(index));
    parents.resize(depth);
    parents.push_back(item);
  }
  tree_->expandAll();
  controller_.SetSelectedRows({});
  const int32_t opening = controller_.OpeningRow();
  for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole).toInt() != opening) continue;
    (*it)->setSelected(true);
    // Its object's item on top, so the tree says whose parameter it is.
    tree_->scrollToItem((*it)->parent() ? (*it)->parent() : *it, QAbstractItemView::PositionAtTop);
    controller_.SetSelectedRows({opening});
    break;
  }
}

void TimelineDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // After the layout has given the tree its new height.
  QTimer::singleShot(0, this, &TimelineDialog::Update);
}

void TimelineDialog::ShowMode() {
  keyView_->setVisible(!controller_.CurveMode());
  curveView_->setVisible(controller_.CurveMode());
  Update();
}

void TimelineDialog::TellVisibleRows() {
  std::vector<int32_t> rows;
  for (QTreeWidgetItem* item = tree_->itemAt(0, 0); item; item = tree_->itemBelow(item)) {
    if (tree_->visualItemRect(item).top() > tree_->viewport()->height()) break;
    rows.push_back(item->data(0, Qt::UserRole).toInt());
  }
  controller_.SetVisibleRows(rows);
}

void TimelineDialog::Update() {
  TellVisibleRows();
  keyView_->repaint();
  curveView_->repaint();
  const std::vector<std::string> parts = controller_.StatusParts();
  for (int part = 0; part < status_.size() && static_cast<size_t>(part) < parts.size(); ++part) {
    status_[part]->setText(QString::fromStdString(parts[static_cast<size_t>(part)]));
  }
}

void RunTimelineDialog(TimelineController& controller) {
  TimelineDialog dialog(controller, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace lumetra::ui::qt
