#include "tools/time_command.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

namespace lumetra {
namespace {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Time(const std::string& text, const std::string& display, int rate, const std::string& custom = "",
             bool json = false) {
  std::ostringstream out, err;
  const int exitCode = tools::RunTime({text, display, rate, custom, json}, out, err);
  return {exitCode, out.str(), err.str()};
}

// Expects exit code 2, nothing on stdout and one line on stderr containing `problem`.
void ExpectRefused(const Outcome& outcome, const std::string& problem) {
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_TRUE(outcome.out.empty()) << outcome.out;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
  EXPECT_NE(outcome.err.find(problem), std::string::npos) << outcome.err;
}

TEST(TimeCommand, PrintsTicksAndEveryDisplay) {
  const Outcome outcome = Time("00:01:15", "smpte", 4);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "ticks        7200\n"
            "frames       45\n"
            "smpte        00:01:15\n"
            "frame-ticks  45:0\n"
            "mmss-ticks   0:01:2400\n");
  EXPECT_TRUE(outcome.err.empty());
}

TEST(TimeCommand, JsonIsOneObjectInDisplayOrder) {
  const Outcome outcome = Time("4800", "ticks", 4, "", true);
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            R"({"ticks":4800,"frames":"30","smpte":"00:01:0","frame_ticks":"30:0","mmss_ticks":"0:01:0"})"
            "\n");
  EXPECT_EQ(nlohmann::json::parse(outcome.out)["ticks"], 4800);
}

TEST(TimeCommand, ReadsEachDisplayAtItsRate) {
  EXPECT_NE(Time("12", "frames", 0).out.find("ticks        5760\n"), std::string::npos);
  EXPECT_NE(Time("12", "frame-ticks", 0).out.find("ticks        12\n"), std::string::npos);
  EXPECT_NE(Time("1:2:3", "smpte", 3).out.find("ticks        298176\n"), std::string::npos);
  EXPECT_NE(Time("1:0:0:5", "mmss-ticks", 4).out.find("ticks        17280005\n"), std::string::npos);
  EXPECT_NE(Time("-4800", "ticks", 2).out.find("frames       -24\n"), std::string::npos);
}

TEST(TimeCommand, CustomRateIsAFraction) {
  const Outcome outcome = Time("48", "frames", 7, "24000/1001");
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("ticks        9600\n"), std::string::npos) << outcome.out;  // 200 ticks a frame
}

TEST(TimeCommand, CustomRateWithoutFrameLengthIsRefused) {
  ExpectRefused(Time("1", "frames", 7, "0/1"), "custom rate 0/1 gives no frame length");
  ExpectRefused(Time("1", "frames", 7, "5000/1"), "at most 4800 frames per second");
  ExpectRefused(Time("1", "frames", 7, "24/0"), "must be positive");
}

TEST(TimeCommand, CustomRateMustMatchTheRateIndex) {
  ExpectRefused(Time("1", "frames", 7), "--rate 7 (Custom) needs --custom N/D");
  ExpectRefused(Time("1", "frames", 4, "24/1"), "--custom applies only with --rate 7");
  ExpectRefused(Time("1", "frames", 7, "24"), "\"24\" is not N/D");
  ExpectRefused(Time("1", "frames", 7, "-24/1"), "is not N/D");
}

TEST(TimeCommand, TextThatDoesNotFitTheDisplayIsRefused) {
  ExpectRefused(Time("1:2", "frames", 4),
                "\"1:2\" is not a time in the frames display (expected FRAMES, a whole number)");
  ExpectRefused(Time("1:2:3", "frame-ticks", 4), "frame-ticks display (expected [FRAME:]TICKS");
  ExpectRefused(Time("1:2:3:4:5", "smpte", 4), "smpte display");
  ExpectRefused(Time("12x", "mmss-ticks", 4), "\"12x\" is not a time in the mmss-ticks display");
  ExpectRefused(Time("", "ticks", 4), "ticks display");
  ExpectRefused(Time("1::2", "smpte", 4), "smpte display");
}

TEST(TimeCommand, TimesBeyondTheTickRangeAreRefused) {
  ExpectRefused(Time("2147483648", "ticks", 4), "beyond the 32-bit tick range");
  ExpectRefused(Time("99999999999999999999999", "ticks", 4), "beyond the 32-bit tick range");
  ExpectRefused(Time("4473925", "frames", 0), "beyond the 32-bit tick range");
  EXPECT_EQ(Time("-2147483648", "ticks", 4).exitCode, 0);
}

TEST(TimeCommand, UnknownRateOrDisplayIsRefused) {
  ExpectRefused(Time("1", "frames", 8), "frame-rate index 8 is not one of 0..7");
  ExpectRefused(Time("1", "seconds", 4), "unknown display \"seconds\"");
}

class TimeSubcommand : public ::testing::Test {
 protected:
  TimeSubcommand() { tools::RegisterTimeCommand(root_, exitCode_); }

  std::string Parse(std::vector<std::string> words) {
    std::ostringstream captured;
    std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
    words.insert(words.begin(), "time");
    std::reverse(words.begin(), words.end());  // CLI11 takes the arguments last first
    try {
      root_.parse(words);
    } catch (...) {
      std::cout.rdbuf(original);
      throw;
    }
    std::cout.rdbuf(original);
    return captured.str();
  }

  CLI::App root_{"lumetra-tool"};
  int exitCode_ = -1;
};

TEST_F(TimeSubcommand, ParsesTheOptionsAndSetsTheExitCode) {
  const std::string out = Parse({"4800", "--display", "ticks", "--rate", "4", "--json"});
  EXPECT_EQ(exitCode_, 0);
  EXPECT_EQ(nlohmann::json::parse(out)["smpte"], "00:01:0");
}

TEST_F(TimeSubcommand, ReadsNegativeTimesAsText) {
  const std::string out = Parse({"-4800", "--display", "ticks", "--rate", "4"});
  EXPECT_EQ(exitCode_, 0);
  EXPECT_NE(out.find("frames       -30\n"), std::string::npos) << out;
}

TEST_F(TimeSubcommand, RejectsUnknownChoicesWhileParsing) {
  EXPECT_THROW(Parse({"1", "--display", "seconds", "--rate", "4"}), CLI::ValidationError);
  EXPECT_THROW(Parse({"1", "--display", "frames", "--rate", "8"}), CLI::ValidationError);
  EXPECT_THROW(Parse({"1", "--rate", "4"}), CLI::RequiredError);
}

TEST_F(TimeSubcommand, HelpDescribesTheDisplaysWithAnExample) {
  const std::string help = root_.get_subcommand("time")->help();
  for (const char* expected :
       {"--display", "--rate", "--custom", "--json", "smpte", "mmss-ticks", "Example:"}) {
    EXPECT_NE(help.find(expected), std::string::npos) << expected << " missing from\n" << help;
  }
}

}  // namespace
}  // namespace lumetra
