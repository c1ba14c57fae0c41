#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

// `lumetra export-rib SCENE -o FILE.rib [--size WxH]`: the scene as a RenderMan RIB file
// whose picture is FILE with ".tif" for ".rib".
void RegisterExportRibCommand(CLI::App& root, int& exitCode);

// Returns the exit code as RunSceneExport does.
int RunExportRib(const std::string& scenePath, const std::string& outPath, const std::string& size,
                 std::ostream& err);

}  // namespace lumetra::app
