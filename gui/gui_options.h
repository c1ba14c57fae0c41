// The command line of lumetra-gui.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::gui {

struct GuiOptions {
  std::string scene;               // empty: a new scene
  std::string plugin;              // empty: where lumetra looks for it
  std::vector<std::string> menus;  // the plug-in's menu items to run once the scene shows
  std::string size;                // "WIDTHxHEIGHT": the render size of this run
  std::string screenshot;          // a PNG of the windows, then quit
  double after = 1;                // seconds from showing the scene to the screenshot
  int optionsPage = 0;             // 1 to 3: "&Options" runs last and its sheet opens on that page
};

// The options, or none when the program ends here with `exitCode`: 0 after --help (on
// `out`), 2 for a command line that cannot be used (the reason on `err`).
std::optional<GuiOptions> ParseGuiOptions(int argc, const char* const* argv, std::ostream& out,
                                          std::ostream& err, int& exitCode);

}  // namespace lumetra::gui
