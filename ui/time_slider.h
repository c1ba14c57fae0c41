#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keyframe/time_format.h"

namespace lumetra::ui {

// Flags in the word parameter of the slider's notification; the low 25 bits
// carry a position or a key index.
inline constexpr uint32_t kSliderMessage = 1520;
inline constexpr uint32_t kSliderValueMask = 0x01FFFFFF;
inline constexpr uint32_t kSliderThumbPressed = 0x40000000;
inline constexpr uint32_t kSliderThumbDragged = 0x20000000;
inline constexpr uint32_t kSliderThumbReleased = 0x10000000;
inline constexpr uint32_t kSliderKeyDragBegins = 0x08000000;
inline constexpr uint32_t kSliderKeyDragMoved = 0x04000000;
inline constexpr uint32_t kSliderKeyDragEnds = 0x02000000;

// The state of the control bar's time slider: range, position and key marks.
// With time-display settings it counts in ticks: positions snap to whole
// frames, it steps by a frame and its thumb shows the time in that display.
class TimeSlider {
 public:
  void SetRange(int32_t minimum, int32_t maximum);
  int32_t Minimum() const { return minimum_; }
  int32_t Maximum() const { return maximum_; }
  // Snapped and clamped to the range while the slider is visible, kept as
  // given while it is hidden. Never notifies.
  void SetPos(int32_t value);
  int32_t Pos() const { return position_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Visible() const { return visible_; }

  void SetKeyTimes(const std::vector<int32_t>& times) { keyTimes_ = times; }
  const std::vector<int32_t>& KeyTimes() const { return keyTimes_; }
  // Moves a key mark (a drag), clamped to the range; false for no such mark.
  bool SetKeyTime(int index, int32_t time);
  int32_t KeyTime(int index) const;

  // Null for a plain slider counting units.
  void SetTimeFormat(const keyframe::TimeFormat* format) { format_ = format; }
  // The value truncated toward zero to a whole frame (unchanged without settings).
  int32_t Snap(int32_t value) const;
  // One step of the end arrows: a frame, or 1 without settings.
  int32_t Step() const;
  // The thumb's text at the position, or at `position` while the thumb is dragged there.
  std::string ThumbText() const { return ThumbText(position_); }
  std::string ThumbText(int32_t position) const;

 private:
  int32_t TicksPerFrame() const;
  int32_t Clamp(int32_t value) const;

  int32_t minimum_ = 0;
  int32_t maximum_ = 99;
  int32_t position_ = 0;
  bool visible_ = true;
  std::vector<int32_t> keyTimes_;
  const keyframe::TimeFormat* format_ = nullptr;
};

}  // namespace lumetra::ui
