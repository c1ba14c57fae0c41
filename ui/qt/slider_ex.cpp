#include "ui/qt/slider_ex.h"

#include <algorithm>
#include <cstdlib>

#include <QtWidgets/qdrawutil.h>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "ui/qt/pictures.h"
#include "ui/time_slider.h"

namespace lumetra::ui::qt {
namespace {

constexpr int kThumbPadding = 10;
const QColor kKeyBandGrey(0xE1, 0xE1, 0xE1);

}  // namespace

SliderEx::SliderEx(QWidget* parent) : QWidget(parent) {
  setObjectName("CSliderEx");
  setMouseTracking(true);
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  for (size_t kind = 0; kind < marks_.size(); ++kind)
    marks_[kind] = KeyMarkPicture(static_cast<KeyMark>(kind));
  connect(&repeat_, &QTimer::timeout, this, [this] {
    repeat_.start(kRepeatMs);
    StepArrow();
  });
}

void SliderEx::SetRange(int32_t minimum, int32_t maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  thumbWidth_ = -1;
  update();
}

void SliderEx::SetPos(int32_t value) {
  position_ = isVisible() ? Settle(value) : value;
  update();
}

void SliderEx::SetKeyTimes(std::vector<int32_t> times) {
  keyTimes_ = std::move(times);
  const int count = static_cast<int>(keyTimes_.size());
  if (hovered_ >= count) hovered_ = -1;
  if (dragged_ >= count) dragged_ = -1;
  update();
}

std::string SliderEx::ThumbText(int32_t position) const {
  return std::to_string(position) + "/" + std::to_string(int64_t{maximum_} - minimum_);
}

QRect SliderEx::TrackRect() const { return QRect(0, 0, width(), kTrackBottom).adjusted(1, 1, -1, -1); }

QRect SliderEx::KeyRect() const {
  return QRect(0, kKeyBandTop, width(), height() - kKeyBandTop).adjusted(1 + 2, 1, -1 - 2, -1);
}

int SliderEx::ThumbWidth() const {
  if (thumbWidth_ < 0) {
    const QFontMetrics metrics(font());
    int text = 0;
    for (const int32_t value : {minimum_, maximum_}) {
      text = std::max(text, metrics.horizontalAdvance(QString::fromStdString(ThumbText(value))));
    }
    thumbWidth_ = text + kThumbPadding + 2 * ArrowWidth();
  }
  return thumbWidth_;
}

// The thumb's left edge runs from the track's left to one thumb width before its right.
SliderEx::Axis SliderEx::ThumbAxis() const {
  const QRect track = TrackRect();
  return {track.left(), track.right() + 1 - ThumbWidth() - track.left()};
}

// Marks run from the key band's left to where the thumb's right edge reaches at the end of
// the track: a mark stands under the thumb's right end when the position is at its time.
SliderEx::Axis SliderEx::MarkAxis() const {
  const QRect keys = KeyRect();
  const int usableRight = ThumbAxis().origin + ThumbAxis().span;
  return {keys.left(), usableRight + ThumbWidth() - keys.left() - 1};
}

int SliderEx::Pixel(const Axis& axis, int32_t value) const {
  const int64_t range = int64_t{maximum_} - minimum_;
  if (range <= 0 || axis.span <= 0) return axis.origin;
  const int64_t offset = std::clamp(value, minimum_, maximum_) - int64_t{minimum_};
  return axis.origin + static_cast<int>(offset * axis.span / range);
}

int64_t SliderEx::Value(const Axis& axis, int x) const {
  const int64_t range = int64_t{maximum_} - minimum_;
  if (range <= 0 || axis.span <= 0) return minimum_;
  const int64_t scaled = int64_t{x - axis.origin} * range;
  // Rounded up, so that a value's own pixel gives the value back.
  return minimum_ + (scaled >= 0 ? (scaled + axis.span - 1) / axis.span : scaled / axis.span);
}

int32_t SliderEx::Clamp(int64_t value) const {
  return static_cast<int32_t>(std::clamp<int64_t>(value, minimum_, maximum_));
}

// Clamped before snapping, as the snap takes a 32-bit value, and after, as snapping
// toward zero may leave the range.
int32_t SliderEx::Settle(int64_t value) const { return Clamp(Snap(Clamp(value))); }

int SliderEx::KeyAt(int x) const {
  const Axis axis = MarkAxis();
  const int half = kKeyMarkWidth / 2;
  for (size_t index = 0; index < keyTimes_.size(); ++index) {
    if (std::abs(Pixel(axis, keyTimes_[index]) - x) <= half) return static_cast<int>(index);
  }
  return -1;
}

QRect SliderEx::ThumbRect() const {
  const QRect track = TrackRect();
  return QRect(Pixel(ThumbAxis(), position_), track.top(), ThumbWidth(), track.height());
}

SliderEx::Zone SliderEx::ZoneAt(const QPoint& at) const {
  const QRect track = TrackRect();
  if (at.y() > track.bottom()) return KeyAt(at.x()) >= 0 ? kKeyMark : kKeyBand;
  if (at.y() < track.top()) return kNoZone;
  const QRect thumb = ThumbRect();
  if (at.x() < thumb.left() || at.x() > thumb.right()) return kTrack;
  if (at.x() < thumb.left() + ArrowWidth()) return kLeftArrow;
  if (at.x() > thumb.right() - ArrowWidth()) return kRightArrow;
  return kThumb;
}

void SliderEx::Tell(uint32_t flags, int64_t value) const {
  if (notify_) notify_(flags | (static_cast<uint32_t>(value) & kSliderValueMask));
}

void SliderEx::StepArrow() {
  const int32_t before = position_;
  const int left = ThumbRect().left();
  const int64_t step = zone_ == kLeftArrow ? -int64_t{Step()} : Step();
  position_ = Settle(position_ + step);
  if (position_ == before) return;
  // The pointer stays on the arrow it holds down.
  QCursor::setPos(QCursor::pos() + QPoint(ThumbRect().left() - left, 0));
  Tell(0, position_);
  update();
}

void SliderEx::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  zone_ = ZoneAt(at);
  switch (zone_) {
    case kThumb:
      pressX_ = at.x();
      pressPosition_ = position_;
      Tell(kSliderThumbPressed, position_);
      break;
    case kKeyMark:
      dragged_ = KeyAt(at.x());
      dragStartTime_ = keyTimes_[static_cast<size_t>(dragged_)];
      Tell(kSliderKeyDragBegins, dragged_);
      break;
    case kLeftArrow:
    case kRightArrow:
      StepArrow();
      repeat_.start(kFirstRepeatMs);
      break;
    case kTrack:
      position_ = Settle(Value(ThumbAxis(), at.x() - ThumbWidth() / 2));
      Tell(0, position_);
      break;
    default:
      break;
  }
  update();
}

void SliderEx::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (zone_ == kThumb) {
    const int32_t before = position_;
    const int left = Pixel(ThumbAxis(), pressPosition_) + at.x() - pressX_;
    position_ = Settle(Value(ThumbAxis(), left));
    if (position_ != before) {
      Tell(kSliderThumbDragged, position_);
      update();
    }
  } else if (zone_ == kKeyMark) {
    if (dragged_ < 0) return;
    const int32_t time = Clamp(Value(MarkAxis(), at.x()));
    const int index = dragged_;
    if (time == keyTimes_[static_cast<size_t>(index)]) return;
    keyTimes_[static_cast<size_t>(index)] = time;
    if (keyMoved_) keyMoved_(index, time);
    Tell(kSliderKeyDragMoved, index);
    repaint();
  } else {
    UpdateHover(at);
  }
}

void SliderEx::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Zone zone = zone_;
  zone_ = kNoZone;
  repeat_.stop();
  if (zone == kThumb) {
    Tell(kSliderThumbReleased, position_);
  } else if (zone == kKeyMark && dragged_ >= 0) {
    const int index = dragged_;
    dragged_ = -1;
    if (keyMoved_) keyMoved_(index, keyTimes_[static_cast<size_t>(index)]);
    Tell(kSliderKeyDragEnds, index);
  }
  update();
}

void SliderEx::UpdateHover(const QPoint& at) {
  const int hovered = at.y() >= kKeyBandTop ? KeyAt(at.x()) : -1;
  setCursor(hovered >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
  if (hovered == hovered_) return;
  hovered_ = hovered;
  update();
}

void SliderEx::leaveEvent(QEvent* event) {
  if (hovered_ >= 0) {
    hovered_ = -1;
    update();
  }
  QWidget::leaveEvent(event);
}

void SliderEx::resizeEvent(QResizeEvent* event) {
  thumbWidth_ = -1;
  QWidget::resizeEvent(event);
}

void SliderEx::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) thumbWidth_ = -1;
  if (event->type() == QEvent::EnabledChange && !isEnabled()) Abandon();
  QWidget::changeEvent(event);
}

void SliderEx::hideEvent(QHideEvent* event) {
  Abandon();
  QWidget::hideEvent(event);
}

// A slider disabled or hidden under a held button never sees the release.
void SliderEx::Abandon() {
  repeat_.stop();
  zone_ = kNoZone;
}

void SliderEx::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  PaintTrack(painter);
  PaintKeys(painter);
}

void SliderEx::PaintTrack(QPainter& painter) const {
  const QPalette& colours = palette();
  const QRect track = TrackRect();
  const bool enabled = isEnabled();
  // A groove along the track for the thumb to ride.
  const QRect groove(track.left(), track.center().y() - 1, track.width(), 4);
  if (enabled) {
    qDrawShadePanel(&painter, groove, colours, true, 1);
  } else {
    painter.setPen(colours.color(QPalette::Disabled, QPalette::Mid));
    painter.drawRect(groove.adjusted(0, 0, -1, -1));
  }

  const QRect thumb = ThumbRect();
  const int arrow = ArrowWidth();
  const QRect leftArrow(thumb.left(), thumb.top(), arrow, thumb.height());
  const QRect text = thumb.adjusted(arrow, 0, -arrow, 0);
  const QRect rightArrow(thumb.right() + 1 - arrow, thumb.top(), arrow, thumb.height());
  const QBrush face = colours.brush(QPalette::Button);
  painter.setPen(colours.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  for (const auto& [box, label, sunken] :
       {std::tuple{leftArrow, QString("<"), zone_ == kLeftArrow},
        std::tuple{text, QString::fromStdString(ThumbText(position_)), false},
        std::tuple{rightArrow, QString(">"), zone_ == kRightArrow}}) {
    if (enabled) {
      qDrawWinButton(&painter, box, colours, sunken, &face);
    } else {
      painter.fillRect(box, face);
      painter.save();
      painter.setPen(colours.color(QPalette::Disabled, QPalette::Mid));
      painter.drawRect(box.adjusted(0, 0, -1, -1));
      painter.restore();
    }
    painter.drawText(sunken ? box.translated(1, 1) : box, Qt::AlignCenter, label);
  }
}

void SliderEx::PaintKeys(QPainter& painter) const {
  const QPalette& colours = palette();
  const QRect band = QRect(0, kKeyBandTop, width(), height() - kKeyBandTop).adjusted(1, 1, -1, -1);
  if (!isEnabled()) {
    painter.setPen(colours.color(QPalette::Disabled, QPalette::Mid));
    painter.drawRect(band.adjusted(0, 0, -1, -1));
    return;
  }
  qDrawShadePanel(&painter, band, colours, true, 1, nullptr);
  const QRect keys = KeyRect();
  painter.fillRect(band.adjusted(1, 1, -1, -1), kKeyBandGrey);

  const Axis axis = MarkAxis();
  const int x = Pixel(axis, position_);
  painter.setPen(QColor(0x80, 0x00, 0x00));
  painter.drawLine(x, keys.top(), x, keys.bottom());

  const int top = keys.top() + (keys.height() - kKeyMarkHeight) / 2;
  const auto draw = [&](int32_t time, KeyMark mark) {
    painter.drawPixmap(Pixel(axis, time) - kKeyMarkWidth / 2, top, marks_[static_cast<size_t>(mark)]);
  };
  for (size_t index = 0; index < keyTimes_.size(); ++index) {
    const int key = static_cast<int>(index);
    if (key == dragged_) continue;
    const int32_t time = keyTimes_[index];
    draw(time, key == hovered_     ? KeyMark::Hovered
               : time == position_ ? KeyMark::AtPosition
                                   : KeyMark::Normal);
  }
  if (dragged_ >= 0) {
    draw(dragStartTime_, KeyMark::DragStart);
    draw(keyTimes_[static_cast<size_t>(dragged_)], KeyMark::Dragged);
  }
}

}  // namespace lumetra::ui::qt
