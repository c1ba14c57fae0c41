#include "app/pov_render.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "abi/pov_blocks.h"
#include "host/pov_writer.h"
#include "platform/file_io.h"
#include "platform/message_loop.h"
#include "platform/shared_memory.h"
#include "platform/subprocess.h"
#include "povbridge/pov_bridge.h"

namespace lumetra::app {
namespace {

// A folder of its own for one render: the scene file and POV-Ray's picture.
std::string MakeRenderFolder(std::string& error) {
  std::error_code ignored;
  std::string pattern = (std::filesystem::temp_directory_path(ignored) / "lumetra-pov-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a folder for the POV-Ray render: " + std::string(std::strerror(errno));
    return {};
  }
  return pattern;
}

// Waits for the bridge so that it leaves no zombie. A bridge ended by a signal told
// nobody; the render window hears of it here.
void FollowBridge(int bridge) {
  std::thread([bridge] {
    if (platform::WaitForExit(bridge) >= 0) return;
    std::error_code error;
    const auto control =
        platform::SharedMemory::Create(abi::pov::kControlName, abi::pov::kControlSize, error);
    const platform::WindowId window = control.LoadU32(abi::pov::kWindowField);
    if (window == platform::kNoWindow) return;
    povbridge::TellRenderWindow(window, abi::pov::kRenderFailed, "the POV-Ray bridge ended unexpectedly");
  }).detach();
}

}  // namespace

PovRenderPrograms PovProgramsBeside(const std::string& pluginPath) {
  const char* povray = std::getenv("LUMETRA_POVRAY");
  return {povray && *povray ? povray : "povray",
          (std::filesystem::path(pluginPath).parent_path() / "lumetra-povbridge").string()};
}

std::string PovRenderProblem(const PovRenderPrograms& programs) {
  if (platform::FindProgram(programs.povray).empty()) {
    return "POV-Ray is not installed (no program '" + programs.povray +
           "'): install the package povray (apt-get install povray)";
  }
  if (platform::FindProgram(programs.bridge).empty()) {
    return "the POV-Ray bridge " + programs.bridge + " is missing; reinstall the package lumetra";
  }
  return {};
}

bool StartPovRender(const host::Scene& scene, const PovRenderPrograms& programs, std::string& error) {
  error = PovRenderProblem(programs);
  if (!error.empty()) return false;
  const std::string folder = MakeRenderFolder(error);
  if (folder.empty()) return false;
  std::ostringstream text;
  // POV-Ray runs in the folder and reads only from folders it trusts: the scene's files go
  // beside the .pov, each under a name of its own.
  std::map<std::string, std::string> copied;  // found path -> name in the folder
  host::PovOptions options{[&folder, &copied](const std::string& found) {
    if (const auto known = copied.find(found); known != copied.end()) return known->second;
    const std::string bare = std::filesystem::path(found).filename().string();
    std::string name = bare;
    for (int n = 2; std::filesystem::exists(folder + "/" + name); ++n) name = std::to_string(n) + "-" + bare;
    std::error_code ignored;
    std::filesystem::copy_file(found, folder + "/" + name, ignored);
    return copied[found] = name;
  }};
  host::WritePovScene(scene, text, options);
  const std::string scenePath = folder + "/scene.pov";
  if (const std::error_code written = platform::WriteFileAtomically(scenePath, text.str())) {
    error = "cannot write " + scenePath + ": " + written.message();
    std::filesystem::remove_all(folder);
    return false;
  }
  // POV-Ray's output gamma would brighten the picture; the render library writes linear values.
  povbridge::PovBridgeRequest request{platform::FindProgram(programs.povray),
                                      {"+I" + scenePath, "+A0.3", "File_Gamma=1.0", "Output_Alpha=off"},
                                      folder,
                                      ::getpid()};
  std::vector<std::string> arguments{programs.bridge};
  const std::vector<std::string> more = povbridge::PovBridgeArguments(request);
  arguments.insert(arguments.end(), more.begin(), more.end());
  const auto bridge = platform::Spawn(arguments, {}, &error);
  if (!bridge) {
    std::filesystem::remove_all(folder);
    return false;
  }
  FollowBridge(bridge->pid);
  return true;
}

}  // namespace lumetra::app
