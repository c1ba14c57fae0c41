#include "tools/time_command.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "keyframe/ticks.h"
#include "keyframe/time_format.h"

namespace lumetra::tools {
namespace {

using keyframe::TimeDisplay;
using keyframe::TimeFormat;

constexpr int kCustomRate = static_cast<int>(keyframe::FrameRate::Custom);

// How TEXT may be written in each display.
struct DisplayInput {
  const char* name;
  const char* jsonKey;
  std::optional<TimeDisplay> display;  // empty for plain ticks
  int maxFields;
  const char* layout;
};

constexpr DisplayInput kInputs[] = {
    {"ticks", "ticks", std::nullopt, 1, "TICKS"},
    {"frames", "frames", TimeDisplay::Frames, 1, "FRAMES"},
    {"smpte", "smpte", TimeDisplay::Smpte, 4, "[[HH:]MM:]SS:FF"},
    {"frame-ticks", "frame_ticks", TimeDisplay::FrameTicks, 2, "[FRAME:]TICKS"},
    {"mmss-ticks", "mmss_ticks", TimeDisplay::MinutesSecondsTicks, 4, "[[H:]M:]SS:TICKS"},
};

// Thrown for input that the command refuses; the text is the whole message.
class BadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const DisplayInput& FindInput(const std::string& name) {
  for (const DisplayInput& input : kInputs) {
    if (name == input.name) return input;
  }
  throw BadInput("unknown display \"" + name + "\" (use ticks, frames, smpte, frame-ticks or mmss-ticks)");
}

// "N/D" with whole numbers N and D of up to nine digits each.
std::optional<std::pair<int, int>> ParseFraction(const std::string& text) {
  static const std::regex fraction(R"((\d{1,9})/(\d{1,9}))");
  std::smatch parts;
  if (!std::regex_match(text, parts, fraction)) return std::nullopt;
  return std::pair{std::stoi(parts[1]), std::stoi(parts[2])};
}

TimeFormat ReadRate(const TimeArgs& args) {
  if (args.rate < 0 || args.rate > kCustomRate) {
    throw BadInput("frame-rate index " + std::to_string(args.rate) + " is not one of 0..7");
  }
  TimeFormat format{TimeDisplay::Frames, args.rate, 0, 1};
  if (args.rate != kCustomRate) {
    if (!args.custom.empty()) throw BadInput("--custom applies only with --rate 7 (Custom)");
    return format;
  }
  const auto fraction = ParseFraction(args.custom);
  if (!fraction) {
    throw BadInput(args.custom.empty()
                       ? "--rate 7 (Custom) needs --custom N/D"
                       : "--custom \"" + args.custom + "\" is not N/D with whole numbers N and D");
  }
  std::tie(format.numerator, format.denominator) = *fraction;
  if (keyframe::TicksPerFrame(format.rateIndex, format.numerator, format.denominator) ==
      keyframe::kNoFrameLength) {
    throw BadInput("custom rate " + args.custom +
                   " gives no frame length: N and D must be positive and N/D at most 4800 frames per second");
  }
  return format;
}

void CheckLayout(const std::string& text, const DisplayInput& input) {
  const std::regex layout("[+-]?\\d+(:[+-]?\\d+){0," + std::to_string(input.maxFields - 1) + "}");
  if (!std::regex_match(text, layout)) {
    throw BadInput("\"" + text + "\" is not a time in the " + input.name + " display (expected " +
                   input.layout +
                   (input.maxFields == 1 ? ", a whole number)" : ", whole numbers separated by colons)"));
  }
}

std::int32_t ReadTicks(const std::string& text) {
  const std::string beyondRange = "\"" + text + "\" lies beyond the 32-bit tick range";
  try {
    const long long ticks = std::stoll(text);  // the layout check leaves only digits and a sign
    if (ticks < std::numeric_limits<std::int32_t>::min() ||
        ticks > std::numeric_limits<std::int32_t>::max()) {
      throw BadInput(beyondRange);
    }
    return static_cast<std::int32_t>(ticks);
  } catch (const std::out_of_range&) {
    throw BadInput(beyondRange);
  }
}

std::int32_t ReadTime(const TimeArgs& args, TimeFormat format) {
  const DisplayInput& input = FindInput(args.display);
  CheckLayout(args.text, input);
  if (!input.display) return ReadTicks(args.text);
  format.display = *input.display;
  try {
    return keyframe::ParseTime(format, args.text);
  } catch (const std::out_of_range& error) {
    throw BadInput(error.what());
  }
}

// The time in every display, in the order of kInputs.
std::vector<std::string> ShowAll(std::int32_t ticks, TimeFormat format) {
  std::vector<std::string> shown;
  for (const DisplayInput& input : kInputs) {
    if (!input.display) {
      shown.push_back(std::to_string(ticks));
      continue;
    }
    format.display = *input.display;
    shown.push_back(keyframe::FormatTime(format, ticks));
  }
  return shown;
}

void PrintText(const std::vector<std::string>& shown, std::ostream& out) {
  for (std::size_t i = 0; i < shown.size(); ++i) {
    std::string label = kInputs[i].name;
    label.resize(13, ' ');
    out << label << shown[i] << "\n";
  }
}

void PrintJson(std::int32_t ticks, const std::vector<std::string>& shown, std::ostream& out) {
  nlohmann::ordered_json document;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    document[kInputs[i].jsonKey] =
        kInputs[i].display ? nlohmann::ordered_json(shown[i]) : nlohmann::ordered_json(ticks);
  }
  out << document.dump() << "\n";
}

constexpr const char* kFooter = R"(Displays (TEXT is read in the one named by --display):
  ticks        a plain integer; 4800 ticks make one second
  frames       whole frames at the rate
  smpte        [[HH:]MM:]SS:FF, shown as MM:SS:FF with minutes wrapping at an hour
  frame-ticks  [FRAME:]TICKS, a frame and the ticks into it
  mmss-ticks   [[H:]M:]SS:TICKS, minutes, seconds and the ticks into the second
Rates: 0 10 fps, 1 15, 2 24, 3 25, 4 30, 5 NTSC (60 fps), 6 60 fps, 7 custom N/D fps
(--custom N/D: positive whole numbers, at most 4800 frames per second).
Example: lumetra-tool time 00:01:15 --display smpte --rate 4
  ticks 7200, frames 45, smpte 00:01:15, frame-ticks 45:0, mmss-ticks 0:01:2400
Exit codes: 0 done; 2 TEXT does not fit the display or the rate gives no frame length.
)";

}  // namespace

int RunTime(const TimeArgs& args, std::ostream& out, std::ostream& err) {
  try {
    const TimeFormat format = ReadRate(args);
    const std::int32_t ticks = ReadTime(args, format);
    const std::vector<std::string> shown = ShowAll(ticks, format);
    if (args.json) {
      PrintJson(ticks, shown, out);
    } else {
      PrintText(shown, out);
    }
    return 0;
  } catch (const BadInput& error) {
    err << "lumetra-tool time: " << error.what() << "\n";
    return 2;
  }
}

void RegisterTimeCommand(CLI::App& root, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("time", "Convert an animation time between ticks and the four time displays");
  auto args = std::make_shared<TimeArgs>();
  command->add_option("TEXT", args->text, "The time, written in the display chosen with --display")
      ->required();
  command->add_option("--display", args->display, "How TEXT is written")
      ->required()
      ->check(CLI::IsMember({"ticks", "frames", "smpte", "frame-ticks", "mmss-ticks"}));
  command->add_option("--rate", args->rate, "Frame-rate index 0..7 (7: custom, with --custom)")
      ->required()
      ->check(CLI::Range(0, kCustomRate));
  command->add_option("--custom", args->custom, "Custom frame rate N/D frames per second, for --rate 7")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return ParseFraction(text) ? std::string()
                                       : "wants N/D with whole numbers N and D, not '" + text + "'";
          },
          "N/D"));
  command->add_flag("--json", args->json, "Print one JSON object instead of text");
  command->footer(kFooter);
  command->callback([&exitCode, args] { exitCode = RunTime(*args, std::cout, std::cerr); });
}

}  // namespace lumetra::tools
