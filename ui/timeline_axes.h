#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keyframe/time_format.h"

namespace lumetra::ui {

// A "nice" number near x (> 0): 1, 2, 5 or 10 times a power of ten. Rounding takes the
// nearest; otherwise the first nice number not below x.
double Nice(double x, bool round);

// The labels of an axis over [lo, hi]: about nineteen steps of a nice size, from the
// step below lo to the step above hi.
struct AxisLabels {
  double step = 1;
  double first = 0;
  double last = 0;
  int decimals = 0;       // digits after the point; unused in the exponent form
  bool exponent = false;  // "%.1E" rather than fixed point
  std::string Format(double value) const;
};
AxisLabels LabelsFor(double lo, double hi);

// The value range the curve view shows for curves between min and max: a tenth of the
// range free below and above. A flat range is widened to one unit so it still has height.
struct ValueSpan {
  double bottom = 0;
  double span = 1;
};
ValueSpan ValueSpanFor(double min, double max);

// The unit the views count time in: frames when the time display counts frames, ticks
// otherwise.
class TimeUnit {
 public:
  TimeUnit(const keyframe::TimeFormat& format);
  bool Frames() const { return ticksPerUnit_ > 1; }
  // A view time in ticks, truncated toward zero.
  int32_t Ticks(double viewTime) const;
  double ViewTime(int32_t ticks) const { return static_cast<double>(ticks) / ticksPerUnit_; }
  int32_t TicksPerUnit() const { return ticksPerUnit_; }

 private:
  int32_t ticksPerUnit_ = 1;
};

}  // namespace lumetra::ui
