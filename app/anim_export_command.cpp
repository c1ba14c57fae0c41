#include "app/anim_export_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/global_options.h"
#include "app/host_session.h"
#include "app/key_command.h"
#include "app/plugin_location.h"
#include "platform/file_io.h"

namespace lumetra::app {

int RunAnimExport(const std::string& scenePath, const std::string& pluginPath, const std::string& outPath,
                  std::ostream& err) {
  return ReportingFailures("lumetra anim-export", err, [&] {
    const auto session = HostSession::Open(scenePath, pluginPath);
    const std::vector<uint8_t> bytes = session->PluginData();
    if (bytes.empty()) {
      err << "lumetra anim-export: " << scenePath << " has no animated objects; " << outPath
          << " not written\n";
      return 1;
    }
    const std::string_view contents(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::error_code error = platform::WriteFileAtomically(outPath, contents)) {
      err << "lumetra anim-export: cannot write " << outPath << ": " << error.message() << "\n";
      return 1;
    }
    return 0;
  });
}

void RegisterAnimExportCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "anim-export", "Write the keyframe data the plug-in stores in a scene file to a file");
  auto scene = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->add_option("-o,--output", *out, "File for the keyframe data")->required();
  command->callback([scene, out, &options, &exitCode] {
    exitCode = RunAnimExport(*scene, LocatePlugin(options.plugin), *out, std::cerr);
  });
}

}  // namespace lumetra::app
