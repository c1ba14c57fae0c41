#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {
struct GlobalOptions;
}

namespace lumetra::tools {

// `lumetra-tool pose SCENE --time T [--json]`: opens the scene (playing its keying
// script), moves the control bar's slider to T and prints the parameters of every
// object the script animates, by their names.
void RegisterPoseCommand(CLI::App& root, const app::GlobalOptions& options, int& exitCode);

// Returns the exit code: 0, or 1 with a message on `err`.
int RunPose(const std::string& scenePath, const std::string& pluginPath, const std::string& time, bool json,
            std::ostream& out, std::ostream& err);

}  // namespace lumetra::tools
