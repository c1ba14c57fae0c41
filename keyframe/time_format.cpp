#include "keyframe/time_format.h"

#include <cctype>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

#include "keyframe/ticks.h"

namespace lumetra::keyframe {

namespace {

constexpr std::int64_t kTicksPerMinute = std::int64_t{kTicksPerSecond} * 60;
constexpr std::int64_t kTicksPerHour = kTicksPerMinute * 60;
constexpr std::size_t kMaxFields = 4;

std::string RateText(const TimeFormat& format) {
  if (format.rateIndex == static_cast<std::int32_t>(FrameRate::Custom)) {
    return "custom frame rate " + std::to_string(format.numerator) + "/" + std::to_string(format.denominator);
  }
  return "frame rate index " + std::to_string(format.rateIndex);
}

std::int32_t FrameLength(const TimeFormat& format) {
  const std::int32_t tpf = TicksPerFrame(format.rateIndex, format.numerator, format.denominator);
  if (tpf == kNoFrameLength)
    throw std::invalid_argument(RateText(format) + " gives no frame length in ticks");
  return tpf;
}

[[noreturn]] void ThrowUnknownDisplay(TimeDisplay display) {
  throw std::invalid_argument("unknown time display " + std::to_string(static_cast<std::int32_t>(display)));
}

template <typename... Args>
std::string Print(const char* pattern, Args... args) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, pattern, args...);
  return std::string(text, static_cast<std::size_t>(length));
}

bool IsSeparator(char c) { return c == ' ' || c == ':'; }

// A field read like atoi: leading white space, an optional sign, then digits up
// to the first other character. Empty when the value leaves the 32-bit range.
std::optional<std::int32_t> ReadField(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  std::int64_t value = 0;
  for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i) {
    value = value * 10 + (field[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::vector<std::optional<std::int32_t>> SplitFields(std::string_view text) {
  std::vector<std::optional<std::int32_t>> fields;
  std::size_t i = 0;
  while (fields.size() < kMaxFields) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    if (i == text.size()) break;
    const std::size_t start = i;
    while (i < text.size() && !IsSeparator(text[i])) ++i;
    fields.push_back(ReadField(text.substr(start, i - start)));
  }
  return fields;
}

// The typed fields numbered from the right: 0 is the last (L), then S, M, H.
class FieldsFromRight {
 public:
  explicit FieldsFromRight(std::string_view text) : text_(text), fields_(SplitFields(text)) {}

  std::int64_t operator[](std::size_t fromRight) const {
    if (fromRight >= fields_.size()) return 0;
    const auto& field = fields_[fields_.size() - 1 - fromRight];
    if (!field)
      throw std::out_of_range("time \"" + std::string(text_) + "\" has a field beyond the 32-bit range");
    return *field;
  }

 private:
  std::string_view text_;
  std::vector<std::optional<std::int32_t>> fields_;
};

}  // namespace

std::string FormatTime(const TimeFormat& format, std::int32_t ticks) {
  const std::int32_t tpf = FrameLength(format);
  const std::int32_t seconds = ticks / kTicksPerSecond;
  const std::int32_t minutes = seconds / 60;
  switch (format.display) {
    case TimeDisplay::Frames:
      return Print("%d", ticks / tpf);
    case TimeDisplay::Smpte:
      return Print("%02d:%02d:%d", minutes % 60, seconds % 60, ticks % kTicksPerSecond / tpf);
    case TimeDisplay::FrameTicks:
      return Print("%d:%d", ticks / tpf, ticks % tpf);
    case TimeDisplay::MinutesSecondsTicks:
      return Print("%d:%02d:%d", minutes, seconds % 60, ticks % kTicksPerSecond);
  }
  ThrowUnknownDisplay(format.display);
}

std::int32_t ParseTime(const TimeFormat& format, std::string_view text) {
  const std::int64_t tpf = FrameLength(format);
  const FieldsFromRight field(text);
  // Hours, minutes and seconds before the last field, as ticks.
  const auto clock = [&field] {
    return field[1] * kTicksPerSecond + field[2] * kTicksPerMinute + field[3] * kTicksPerHour;
  };
  std::int64_t ticks = 0;
  switch (format.display) {
    case TimeDisplay::Frames:
      ticks = field[0] * tpf;
      break;
    case TimeDisplay::Smpte:
      ticks = field[0] * tpf + clock();
      break;
    case TimeDisplay::FrameTicks:
      ticks = field[1] * tpf + field[0];
      break;
    case TimeDisplay::MinutesSecondsTicks:
      ticks = field[0] + clock();
      break;
    default:
      ThrowUnknownDisplay(format.display);
  }
  if (ticks < std::numeric_limits<std::int32_t>::min() || ticks > std::numeric_limits<std::int32_t>::max()) {
    throw std::out_of_range("time \"" + std::string(text) + "\" lies beyond the 32-bit tick range");
  }
  return static_cast<std::int32_t>(ticks);
}

}  // namespace lumetra::keyframe
