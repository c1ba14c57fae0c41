#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra anim-import SCENE FILE -o OUT`: hands the plug-in keyframe data as a scene
// load does (its tracks then find their objects by name) and saves the scene with it.
void RegisterAnimImportCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns the exit code: 0, or 1 with a message on `err`; OUT is written only when
// the plug-in read the data to its last byte and no further (a damaged or refused
// chunk stops it early or makes it ask for more).
int RunAnimImport(const std::string& scenePath, const std::string& dataPath, const std::string& pluginPath,
                  const std::string& outPath, std::ostream& err);

}  // namespace lumetra::app
