#include "host/rib_export_run.h"

#include <filesystem>
#include <sstream>

#include "host/rib_writer.h"
#include "platform/file_io.h"
#include "platform/subprocess.h"

namespace lumetra::host {

std::optional<std::string> ResolveRibRenderer(const std::string& name) {
  const std::string program = name == "rendrib.exe" || name == "rendrib" ? "lumetra-rib" : name;
  std::vector<std::string> beside;
  if (const std::string folder = platform::ExecutableFolder(); !folder.empty()) beside.push_back(folder);
  std::string found = platform::FindProgram(program, beside);
  if (found.empty()) return std::nullopt;
  return found;
}

RibRenderResult ExportAndRenderRib(const Scene& scene, const std::string& renderer,
                                   const std::string& ribFile, size_t dirLength) {
  namespace fs = std::filesystem;
  RibRenderResult result;
  if (dirLength > ribFile.size()) {
    result.error = "the folder length " + std::to_string(dirLength) + " exceeds the RIB file name " + ribFile;
    return result;
  }
  const std::optional<std::string> program = ResolveRibRenderer(renderer);
  if (!program) {
    result.error = "no RIB renderer \"" + renderer + "\" on the PATH or beside the host";
    return result;
  }
  std::string stem = fs::path(ribFile.substr(dirLength)).stem().string();
  // A name that is only an extension (".rib") is a stem with nothing after the dot.
  if (stem == ".rib") stem.clear();
  const std::string picture = ribFile.substr(0, dirLength) + stem + ".tif";
  std::error_code ignored;
  fs::remove(picture, ignored);  // a stale picture must not pass for this render's
  RibOptions options;
  options.display = picture;
  std::ostringstream text;
  WriteRibScene(scene, text, options);
  if (const std::error_code error = platform::WriteFileAtomically(ribFile, text.str())) {
    result.error = "cannot write " + ribFile + ": " + error.message();
    return result;
  }
  const platform::ProgramResult run = platform::RunProgram({*program, ribFile});
  if (!run.started) {
    result.error = run.error;
  } else if (run.exitCode != 0) {
    result.error = *program + " failed (exit " + std::to_string(run.exitCode) + ")";
  } else if (!fs::is_regular_file(picture, ignored)) {
    result.error = *program + " wrote no picture " + picture;
  } else {
    result.ok = true;
    result.image = picture;
    return result;
  }
  fs::remove(picture, ignored);
  return result;
}

}  // namespace lumetra::host
