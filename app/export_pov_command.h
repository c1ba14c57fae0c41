#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra export-pov SCENE -o FILE.pov [--size WxH]`: the scene as a POV-Ray 3.7 scene file.
void RegisterExportPovCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns the exit code: 0, 1 when the file cannot be written, or 2 for an unusable scene
// or size, with a message on `err`; nothing is written then.
int RunExportPov(const std::string& scenePath, const std::string& outPath, const std::string& size,
                 std::ostream& err);

}  // namespace lumetra::app
