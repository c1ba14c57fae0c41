#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra validate SCENE`: reads the scene file with every file it names and reports
// the first problem, naming the file and the place in it.
void RegisterValidateCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns the exit code: 0 for a good scene, 1 otherwise.
int RunValidate(const std::string& scenePath, std::ostream& out, std::ostream& err);

}  // namespace lumetra::app
