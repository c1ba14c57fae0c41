#pragma once

#include <iosfwd>
#include <string>

#include "app/global_options.h"

namespace CLI {
class App;
}

namespace lumetra::app {

// What `lumetra render` was asked.
struct RenderArgs {
  std::string scene;
  std::string output;             // the picture to write; empty: the scene's output folder and name
  std::string method;             // a render method's name; empty: the plug-in's setting
  std::string size;               // "WxH"; empty: the scene's
  int antialias = -1;             // anti-aliasing depth, 0 off; negative: the scene's
  bool runLength = false;         // run-length packets for .tga
  std::string progress = "auto";  // auto, bar, lines or none
  std::string time{};             // pose the scene at this time first; empty: as saved
};

// Exit codes of `lumetra render`.
constexpr int kRenderFailed = 1;
constexpr int kRenderBadArguments = kUsageError;
constexpr int kRenderInterrupted = 130;

void RegisterRenderCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Renders a still through the plug-in's "&Render" command and waits for it.
int RunRender(const RenderArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err);

}  // namespace lumetra::app
