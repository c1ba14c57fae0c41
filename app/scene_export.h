#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "host/scene.h"

namespace CLI {
class App;
}

namespace lumetra::app {

// Writes a loaded scene for another renderer; `outPath` is the file being written.
using SceneWriter =
    std::function<void(const host::Scene& scene, const std::string& outPath, std::ostream& out)>;

// What `lumetra <command> SCENE -o FILE [--size WxH]` says about itself.
struct SceneExportCommand {
  const char* name;         // "export-pov"
  const char* description;  // the subcommand's one line
  const char* fileHelp;     // what -o names
  const char* footer;       // an example
  SceneWriter write;
};

// Loads the scene, gives the camera the aspect of --size, writes the file atomically.
// Returns 0, 1 when the file cannot be written, or 2 for an unusable scene or size, with
// a message on `err`; nothing is written then.
int RunSceneExport(const SceneExportCommand& command, const std::string& scenePath,
                   const std::string& outPath, const std::string& size, std::ostream& err);

void RegisterSceneExportCommand(CLI::App& root, SceneExportCommand command, int& exitCode);

}  // namespace lumetra::app
