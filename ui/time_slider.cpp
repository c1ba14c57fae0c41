#include "ui/time_slider.h"

#include <algorithm>

#include "keyframe/ticks.h"

namespace lumetra::ui {

void TimeSlider::SetRange(int32_t minimum, int32_t maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
}

int32_t TimeSlider::Clamp(int32_t value) const { return std::clamp(value, minimum_, maximum_); }

void TimeSlider::SetPos(int32_t value) { position_ = visible_ ? Clamp(Snap(value)) : value; }

bool TimeSlider::SetKeyTime(int index, int32_t time) {
  if (index < 0 || index >= static_cast<int>(keyTimes_.size())) return false;
  keyTimes_[static_cast<std::size_t>(index)] = Clamp(time);
  return true;
}

int32_t TimeSlider::KeyTime(int index) const {
  return index >= 0 && index < static_cast<int>(keyTimes_.size()) ? keyTimes_[static_cast<std::size_t>(index)]
                                                                  : 0;
}

int32_t TimeSlider::TicksPerFrame() const {
  if (!format_) return 1;
  const int32_t ticks = keyframe::TicksPerFrame(format_->rateIndex, format_->numerator, format_->denominator);
  return ticks > 0 ? ticks : 1;
}

int32_t TimeSlider::Snap(int32_t value) const {
  const int32_t frame = TicksPerFrame();
  return value / frame * frame;
}

int32_t TimeSlider::Step() const { return TicksPerFrame(); }

std::string TimeSlider::ThumbText(int32_t position) const {
  const int32_t span = maximum_ - minimum_;
  const bool framed =
      format_ && keyframe::TicksPerFrame(format_->rateIndex, format_->numerator, format_->denominator) > 0;
  if (!framed) return std::to_string(position) + "/" + std::to_string(span);
  if (format_->display == keyframe::TimeDisplay::Frames) {
    const int32_t frame = TicksPerFrame();
    return std::to_string(position / frame) + "/" + std::to_string(span / frame);
  }
  return keyframe::FormatTime(*format_, position);
}

}  // namespace lumetra::ui
