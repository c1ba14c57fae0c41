#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra anim-export SCENE -o FILE`: writes exactly the keyframe data the plug-in
// stores in the scene file.
void RegisterAnimExportCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns the exit code: 0, or 1 with a message on `err` (nothing is written then).
int RunAnimExport(const std::string& scenePath, const std::string& pluginPath, const std::string& outPath,
                  std::ostream& err);

}  // namespace lumetra::app
