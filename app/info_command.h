#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra info SCENE [--json]`: opens the scene with the plug-in connected and prints
// the object tree (name and numeric type of each object), the cameras and the materials.
void RegisterInfoCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns the exit code: 0, or 1 when the scene or the plug-in cannot be used.
int RunInfo(const std::string& scenePath, const std::string& pluginPath, bool json, std::ostream& out,
            std::ostream& err);

}  // namespace lumetra::app
