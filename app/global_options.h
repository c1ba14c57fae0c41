#pragma once

#include <string>

namespace app {

// Options every subcommand shares.
struct GlobalOptions {
  std::string plugin;  // path of the plug-in; empty: the default location
  std::string answer;  // how message boxes are answered without a window
};

}  // namespace app
