#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra plugin-info`: loads the plug-in and prints its information record and menu.
void RegisterPluginInfoCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Prints what the host learnt from the plug-in at `path`; returns the exit code.
int RunPluginInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err);

}  // namespace lumetra::app
