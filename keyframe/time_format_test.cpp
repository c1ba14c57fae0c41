#include "keyframe/time_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "keyframe/ticks.h"

namespace lumetra::keyframe {
namespace {

constexpr TimeDisplay kAllDisplays[] = {TimeDisplay::Frames, TimeDisplay::Smpte, TimeDisplay::FrameTicks,
                                        TimeDisplay::MinutesSecondsTicks};

TimeFormat At(std::int32_t rateIndex, TimeDisplay display) { return {display, rateIndex, 30, 1}; }

TimeFormat Custom(std::int32_t numerator, std::int32_t denominator,
                  TimeDisplay display = TimeDisplay::Frames) {
  return {display, static_cast<std::int32_t>(FrameRate::Custom), numerator, denominator};
}

TEST(TicksPerFrame, FixedRatesAndTheirIndices) {
  const std::int32_t expected[] = {480, 320, 200, 192, 160, 80, 80};
  for (std::int32_t index = 0; index < 7; ++index)
    EXPECT_EQ(TicksPerFrame(index, 0, 0), expected[index]) << index;
}

TEST(TicksPerFrame, CustomRateIsTheTruncatedFraction) {
  EXPECT_EQ(TicksPerFrame(7, 30, 1), 160);
  EXPECT_EQ(TicksPerFrame(7, 2997, 100), 160);  // 480000 / 2997 = 160.16
  EXPECT_EQ(TicksPerFrame(7, 7, 1), 685);
  EXPECT_EQ(TicksPerFrame(7, 4800, 1), 1);
}

TEST(TicksPerFrame, UnknownIndexGivesNoFrameLength) {
  EXPECT_EQ(TicksPerFrame(8, 30, 1), kNoFrameLength);
  EXPECT_EQ(TicksPerFrame(-1, 30, 1), kNoFrameLength);
}

TEST(TicksPerFrame, CustomRateWithoutWholePositiveFrameGivesNoFrameLength) {
  EXPECT_EQ(TicksPerFrame(7, 0, 1), kNoFrameLength);
  EXPECT_EQ(TicksPerFrame(7, 0, 0), kNoFrameLength);
  EXPECT_EQ(TicksPerFrame(7, -30, 1), kNoFrameLength);
  EXPECT_EQ(TicksPerFrame(7, 30, 0), kNoFrameLength);
  EXPECT_EQ(TicksPerFrame(7, 4801, 1), kNoFrameLength);  // shorter than a tick
  EXPECT_EQ(TicksPerFrame(7, 1, std::numeric_limits<std::int32_t>::max()), kNoFrameLength);
}

TEST(FormatTime, OneSecondAtThirtyFramesInEveryDisplay) {
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::Frames), 4800), "30");
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::Smpte), 4800), "00:01:0");
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::FrameTicks), 4800), "30:0");
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::MinutesSecondsTicks), 4800), "0:01:0");
}

TEST(FormatTime, PartFramesAndTicksTruncate) {
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::Smpte), 4900), "00:01:0");
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::Frames), 399), "1");
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::FrameTicks), 4950), "24:150");
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::MinutesSecondsTicks), 4800 * 75 + 17), "1:15:17");
}

TEST(FormatTime, SmpteWrapsAtOneHourButMinutesDoNot) {
  const std::int32_t hourAndSecond = 3600 * 4800 + 4800;
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::Smpte), hourAndSecond), "00:01:0");
  EXPECT_EQ(FormatTime(At(4, TimeDisplay::MinutesSecondsTicks), hourAndSecond), "60:01:0");
}

TEST(FormatTime, NegativeTimesTruncateTowardsZero) {
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::Frames), -399), "-1");
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::FrameTicks), -250), "-1:-50");
  EXPECT_EQ(FormatTime(At(2, TimeDisplay::Smpte), -200), "00:00:-1");
}

TEST(FormatTime, RateWithoutFrameLengthOrUnknownDisplayIsRefused) {
  EXPECT_THROW(FormatTime(Custom(0, 1), 4800), std::invalid_argument);
  EXPECT_THROW(FormatTime(At(9, TimeDisplay::Frames), 4800), std::invalid_argument);
  EXPECT_THROW(FormatTime(At(4, static_cast<TimeDisplay>(4)), 4800), std::invalid_argument);
  try {
    FormatTime(Custom(0, 1), 0);
    ADD_FAILURE() << "a custom rate of 0/1 was accepted";
  } catch (const std::invalid_argument& error) {
    EXPECT_EQ(std::string(error.what()), "custom frame rate 0/1 gives no frame length in ticks");
  }
}

TEST(ParseTime, UsesTheFieldsFromTheRight) {
  EXPECT_EQ(ParseTime(At(3, TimeDisplay::Smpte), "1:2:3"), 3 * 192 + (2 + 1 * 60) * 4800);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::FrameTicks), "12"), 12);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::Frames), "12"), 5760);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::FrameTicks), "3:12"), 3 * 480 + 12);
  EXPECT_EQ(ParseTime(At(4, TimeDisplay::Smpte), "1:0:0:0"), 3600 * 4800);
  EXPECT_EQ(ParseTime(At(4, TimeDisplay::MinutesSecondsTicks), "1:2:3:4"), 4 + (3 + (2 + 60) * 60) * 4800);
}

TEST(ParseTime, IgnoresFieldsTheDisplayDoesNotUse) {
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::Frames), "7:5"), 5 * 480);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::FrameTicks), "9:7:5"), 7 * 480 + 5);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::Frames), "99999999999 5"), 5 * 480);
}

TEST(ParseTime, ReadsAtMostFourFields) {
  // The fifth field is never read, so 4 stays the last.
  EXPECT_EQ(ParseTime(At(4, TimeDisplay::MinutesSecondsTicks), "1:2:3:4:5"), 4 + (3 + (2 + 60) * 60) * 4800);
}

TEST(ParseTime, SeparatorRunsCountAsOneAndFieldsReadLikeAtoi) {
  const TimeFormat frameTicks = At(0, TimeDisplay::FrameTicks);
  EXPECT_EQ(ParseTime(frameTicks, " 3 :: 12 "), 3 * 480 + 12);
  EXPECT_EQ(ParseTime(frameTicks, "3  12"), 3 * 480 + 12);
  EXPECT_EQ(ParseTime(frameTicks, "3:12abc"), 3 * 480 + 12);
  EXPECT_EQ(ParseTime(frameTicks, "-3:+12"), -3 * 480 + 12);
  EXPECT_EQ(ParseTime(frameTicks, "3:\t12"), 3 * 480 + 12);
}

TEST(ParseTime, TextWithoutDigitsIsZero) {
  for (TimeDisplay display : kAllDisplays) {
    EXPECT_EQ(ParseTime(At(4, display), "abc"), 0);
    EXPECT_EQ(ParseTime(At(4, display), ""), 0);
    EXPECT_EQ(ParseTime(At(4, display), " : "), 0);
  }
}

TEST(ParseTime, TimesBeyondTheTickRangeAreRefused) {
  EXPECT_THROW(ParseTime(At(0, TimeDisplay::Frames), "99999999999"), std::out_of_range);
  EXPECT_THROW(ParseTime(At(0, TimeDisplay::Frames), "4473925"), std::out_of_range);  // * 480 > 2^31
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::Frames), "4473924"), 4473924 * 480);
  EXPECT_EQ(ParseTime(At(0, TimeDisplay::FrameTicks), "-2147483648"),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_THROW(ParseTime(At(0, TimeDisplay::FrameTicks), "2147483648"), std::out_of_range);
  EXPECT_THROW(ParseTime(At(0, TimeDisplay::MinutesSecondsTicks), "1000:0:0:0"), std::out_of_range);
}

TEST(ParseTime, RateWithoutFrameLengthIsRefused) {
  EXPECT_THROW(ParseTime(Custom(0, 1), "12"), std::invalid_argument);
}

// Frame-aligned times survive a round trip through every display at every
// fixed rate and at custom rates whose frames divide a second. SMPTE shows no
// hours, so the times stay within one hour either side of zero.
TEST(TimeFormatRoundTrip, FrameAlignedTimesInEveryDisplayAndRate) {
  std::vector<TimeFormat> rates;
  for (std::int32_t index = 0; index < 7; ++index) rates.push_back(At(index, TimeDisplay::Frames));
  rates.push_back(Custom(12, 1));
  rates.push_back(Custom(48, 1));
  rates.push_back(Custom(2997, 100));
  for (TimeFormat format : rates) {
    const std::int32_t tpf = TicksPerFrame(format.rateIndex, format.numerator, format.denominator);
    const std::int32_t framesInAnHour = 3600 * kTicksPerSecond / tpf;
    for (TimeDisplay display : kAllDisplays) {
      format.display = display;
      for (std::int32_t frame = -framesInAnHour + 1; frame < framesInAnHour; frame += 97) {
        const std::int32_t t = frame * tpf;
        ASSERT_EQ(ParseTime(format, FormatTime(format, t)), t)
            << "rate " << format.rateIndex << " display " << static_cast<int>(display) << " text "
            << FormatTime(format, t);
      }
    }
  }
}

TEST(TimeFormatRoundTrip, MinutesSecondsTicksKeepsEveryTick) {
  const TimeFormat format = At(4, TimeDisplay::MinutesSecondsTicks);
  for (std::int32_t t : {std::numeric_limits<std::int32_t>::max(),
                         std::numeric_limits<std::int32_t>::min() + 1, 1, -4799, 123456789}) {
    EXPECT_EQ(ParseTime(format, FormatTime(format, t)), t) << FormatTime(format, t);
  }
}

}  // namespace
}  // namespace lumetra::keyframe
