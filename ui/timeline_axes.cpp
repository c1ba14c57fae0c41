#include "ui/timeline_axes.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "keyframe/ticks.h"

namespace lumetra::ui {

double Nice(double x, bool round) {
  const double e = std::floor(std::log10(x));
  const double power = std::pow(10.0, e);
  const double f = x / power;
  double nice = 10;
  if (round) {
    nice = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
  } else {
    nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
  }
  return nice * power;
}

AxisLabels LabelsFor(double lo, double hi) {
  AxisLabels labels;
  const double range = hi - lo;
  // An empty or broken range still gets a scale: one label a unit.
  if (!(range > 0) || !std::isfinite(range)) {
    labels.first = std::floor(lo);
    labels.last = labels.first;
    return labels;
  }
  labels.step = Nice(Nice(range, false) / 19, true);
  labels.first = std::floor(lo / labels.step) * labels.step;
  labels.last = std::ceil(hi / labels.step) * labels.step;
  const int n = -static_cast<int>(std::floor(std::log10(labels.step)));
  labels.exponent = n < -5 || n >= 6;
  labels.decimals = n < 0 ? 0 : n;
  return labels;
}

std::string AxisLabels::Format(double value) const {
  // A label that rounds to zero is written without a sign.
  if (std::fabs(value) < step * 1e-6) value = 0;
  char text[64];
  if (exponent) {
    std::snprintf(text, sizeof text, "%.1E", value);
  } else {
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
  }
  return text;
}

ValueSpan ValueSpanFor(double min, double max) {
  double range = max - min;
  if (!(range > 0)) {
    min -= 0.5;
    range = 1;
  }
  return {min - 0.1 * range, 1.2 * range};
}

TimeUnit::TimeUnit(const keyframe::TimeFormat& format) {
  const bool frames =
      format.display == keyframe::TimeDisplay::Frames || format.display == keyframe::TimeDisplay::Smpte;
  const int32_t frame = keyframe::TicksPerFrame(format.rateIndex, format.numerator, format.denominator);
  ticksPerUnit_ = frames && frame > 0 ? frame : 1;
}

int32_t TimeUnit::Ticks(double viewTime) const {
  const double ticks = std::trunc(viewTime * ticksPerUnit_);
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(ticks < kLow ? kLow : ticks > kHigh ? kHigh : ticks);
}

}  // namespace lumetra::ui
