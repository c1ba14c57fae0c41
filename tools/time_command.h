#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::tools {

// What `lumetra-tool time` was asked.
struct TimeArgs {
  std::string text;     // the time as typed
  std::string display;  // ticks, frames, smpte, frame-ticks or mmss-ticks
  int rate = 4;         // frame-rate index 0..7
  std::string custom;   // "N/D" frames per second for rate 7; empty when not given
  bool json = false;
};

// `lumetra-tool time`: reads a time in one display and prints it in all of them.
void RegisterTimeCommand(CLI::App& root, int& exitCode);

// Prints the time of `args` as ticks and in the four displays; returns the exit
// code: 0, or 2 after one line on `err` when the text, rate or custom rate is bad.
int RunTime(const TimeArgs& args, std::ostream& out, std::ostream& err);

}  // namespace lumetra::tools
