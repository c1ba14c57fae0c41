#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/animate_command.h"
#include "app/global_options.h"

namespace CLI {
class App;
}

namespace lumetra::app {

// What `lumetra farm submit` was asked.
struct FarmSubmitArgs {
  AnimateArgs render;  // the scene, the movie or pictures, their settings
  int32_t chunk = 4;
  int32_t cpus = 1;
  std::string partition;
  std::vector<std::string> sbatchArgs;
  std::string jobFolder;  // empty: beside the output, "<name>.farm"
};

// `lumetra farm submit|status|cancel|join`: an animation rendered on a Slurm cluster,
// a task array of frame chunks and a join that checks the frames and makes the movie.
void RegisterFarmCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Each returns the exit code: 0, 1 when it failed, 2 for bad arguments.
int RunFarmSubmit(const FarmSubmitArgs& args, const std::string& pluginPath, std::ostream& out,
                  std::ostream& err);
int RunFarmStatus(const std::string& job, std::ostream& out, std::ostream& err);
int RunFarmCancel(const std::string& job, std::ostream& out, std::ostream& err);
int RunFarmJoin(const std::string& job, const std::string& pluginPath, std::ostream& out, std::ostream& err);

// Copies the scene and every file it names (meshes, images, fonts, found as the scene's
// reader finds them) into `folder`, the scene as "<name>.json" and its files under
// "files/", and answers the copy's path. Throws host::SceneFileError.
std::string PackScene(const std::string& scenePath, const std::string& folder);

}  // namespace lumetra::app
