#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra::keyframe {

// How a time is shown and typed, in the order of the time-display box.
enum class TimeDisplay : std::int32_t {
  Frames = 0,               // "%d": whole frames
  Smpte = 1,                // "%02d:%02d:%d": minutes mod 60, seconds mod 60, frame within the second
  FrameTicks = 2,           // "%d:%d": frame, ticks into the frame
  MinutesSecondsTicks = 3,  // "%d:%02d:%d": minutes, seconds mod 60, ticks into the second
};

// The fields of the animation output settings that decide how times read.
struct TimeFormat {
  TimeDisplay display = TimeDisplay::Frames;
  std::int32_t rateIndex = 4;  // FrameRate
  std::int32_t numerator = 30;
  std::int32_t denominator = 1;
};

// The time `ticks` in the format's display; divisions truncate towards zero and
// SMPTE shows no hours (the minutes wrap to 00 at one hour).
// Throws std::invalid_argument when the format's rate has no frame length
// (TicksPerFrame gives kNoFrameLength) or its display is unknown.
std::string FormatTime(const TimeFormat& format, std::int32_t ticks);

// Reads a time typed in the format's display. The text is split at blanks and
// colons (runs count as one); of the first four fields, read like atoi (no
// digits reads 0), the last is taken as the smallest unit of the display and
// the ones before it as the next larger units; fields a display does not use
// are ignored. Throws std::invalid_argument as FormatTime does, and
// std::out_of_range when a used field or the result leaves the 32-bit range.
std::int32_t ParseTime(const TimeFormat& format, std::string_view text);

}  // namespace lumetra::keyframe
