#include "app/anim_import_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/global_options.h"
#include "app/host_session.h"
#include "app/key_command.h"
#include "app/plugin_location.h"
#include "platform/file_io.h"

namespace lumetra::app {
namespace {

// Keyframe data beyond this size is refused before it is read.
constexpr std::size_t kMaxDataBytes = std::size_t{256} << 20;

}  // namespace

int RunAnimImport(const std::string& scenePath, const std::string& dataPath, const std::string& pluginPath,
                  const std::string& outPath, std::ostream& err) {
  std::string contents;
  if (const std::error_code error = platform::ReadFileBounded(dataPath, kMaxDataBytes, contents)) {
    err << "lumetra anim-import: cannot read " << dataPath << ": " << error.message() << "\n";
    return 1;
  }
  return ReportingFailures("lumetra anim-import", err, [&] {
    const auto session = HostSession::Open(scenePath, pluginPath);
    if (!session->LoadPluginData({contents.begin(), contents.end()})) {
      err << "lumetra anim-import: the plug-in could not take all of " << dataPath << "; " << outPath
          << " not written\n";
      return 1;
    }
    // The imported animation replaces the scene's: its keying script would key the old one again.
    session->Scene().keying.clear();
    session->Save(outPath);
    return 0;
  });
}

void RegisterAnimImportCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "anim-import", "Give a scene the keyframe data of a file, as loading a scene file would, and save it");
  auto scene = std::make_shared<std::string>();
  auto data = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->add_option("FILE", *data, "Keyframe data, as anim-export writes it")->required();
  command->add_option("-o,--output", *out, "Scene file to write")->required();
  command->callback([scene, data, out, &options, &exitCode] {
    exitCode = RunAnimImport(*scene, *data, LocatePlugin(options.plugin), *out, std::cerr);
  });
}

}  // namespace lumetra::app
