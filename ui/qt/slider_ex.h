#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace lumetra::ui::qt {

// A time slider: a thumb with a step arrow at each end riding a track, and below it a
// band of key marks that can be dragged to other times. The user's moves are reported
// as the notification words of ui/time_slider.h. Thumb text, snapping and the arrows'
// step are virtual so a controller can count in its own units.
class SliderEx : public QWidget {
  Q_OBJECT
  // For hosts and tests that see the slider as a widget only, through the object system.
  Q_PROPERTY(int minimum READ Minimum)
  Q_PROPERTY(int maximum READ Maximum)
  Q_PROPERTY(int position READ Pos)
  Q_PROPERTY(QRect thumbRect READ ThumbRect)

 public:
  using Notify = std::function<void(uint32_t word)>;
  // A mark's new time during a drag, told before the drag's notification.
  using KeyMoved = std::function<void(int index, int32_t time)>;

  static constexpr int kTrackBottom = 20;  // the track band is the rows above
  static constexpr int kKeyBandTop = 21;   // the key band is this row and below
  static constexpr int kFirstRepeatMs = 300;
  static constexpr int kRepeatMs = 50;

  explicit SliderEx(QWidget* parent = nullptr);

  void SetNotify(Notify notify) { notify_ = std::move(notify); }
  void SetKeyMoved(KeyMoved keyMoved) { keyMoved_ = std::move(keyMoved); }

  void SetRange(int32_t minimum, int32_t maximum);
  int32_t Minimum() const { return minimum_; }
  int32_t Maximum() const { return maximum_; }
  // Snapped and clamped to the range while the slider is visible, kept as given while
  // it is hidden. Never notifies.
  void SetPos(int32_t value);
  int32_t Pos() const { return position_; }
  void SetKeyTimes(std::vector<int32_t> times);
  const std::vector<int32_t>& KeyTimes() const { return keyTimes_; }
  int HoveredKey() const { return hovered_; }
  int DraggedKey() const { return dragged_; }
  // The thumb: its left arrow, text and right arrow, in the track band's rows.
  QRect ThumbRect() const;

 protected:
  virtual std::string ThumbText(int32_t position) const;
  virtual int32_t Snap(int32_t value) const { return value; }
  virtual int32_t Step() const { return 1; }

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Where a press landed; the numbers are those the slider has always used.
  enum Zone {
    kNoZone = 0,
    kLeftArrow = 2,
    kRightArrow = 3,
    kThumb = 4,
    kTrack = 5,
    kKeyBand = 6,
    kKeyMark = 7
  };
  // Values from minimum to maximum spread over `span` pixels from `origin`.
  struct Axis {
    int origin;
    int span;
  };

  QRect TrackRect() const;
  QRect KeyRect() const;
  int ArrowWidth() const { return TrackRect().height(); }
  int ThumbWidth() const;
  Axis ThumbAxis() const;
  Axis MarkAxis() const;
  int Pixel(const Axis& axis, int32_t value) const;
  // The first value drawn at or right of x, unclamped.
  int64_t Value(const Axis& axis, int x) const;
  int32_t Clamp(int64_t value) const;
  // A position as the slider takes it: snapped and within the range.
  int32_t Settle(int64_t value) const;
  int KeyAt(int x) const;
  Zone ZoneAt(const QPoint& at) const;

  void Tell(uint32_t flags, int64_t value) const;
  void StepArrow();
  void Abandon();
  void UpdateHover(const QPoint& at);
  void PaintTrack(QPainter& painter) const;
  void PaintKeys(QPainter& painter) const;

  int32_t minimum_ = 0;
  int32_t maximum_ = 99;
  int32_t position_ = 0;
  std::vector<int32_t> keyTimes_;
  int hovered_ = -1;
  int dragged_ = -1;
  int32_t dragStartTime_ = 0;
  Zone zone_ = kNoZone;
  int pressX_ = 0;
  int32_t pressPosition_ = 0;
  QTimer repeat_;
  mutable int thumbWidth_ = -1;  // measured on demand, forgotten when size, range or font change
  std::array<QPixmap, 5> marks_;
  Notify notify_;
  KeyMoved keyMoved_;
};

}  // namespace lumetra::ui::qt
