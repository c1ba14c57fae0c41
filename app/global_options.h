#pragma once

#include <string>

namespace lumetra::app {

// The exit code of a command line that cannot be used: an unknown option, a value out of
// range, a missing argument.
constexpr int kUsageError = 2;

// Options every subcommand shares.
struct GlobalOptions {
  std::string plugin;  // path of the plug-in; empty: the default location
  std::string answer;  // how message boxes are answered without a window
};

}  // namespace lumetra::app
