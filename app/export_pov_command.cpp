#include "app/export_pov_command.h"

#include "app/scene_export.h"
#include "host/pov_writer.h"

namespace lumetra::app {
namespace {

SceneExportCommand PovCommand() {
  return {"export-pov", "Write a scene as a POV-Ray 3.7 scene file", "POV-Ray file to write",
          "Example: lumetra export-pov examples/showcase/showcase.json -o showcase.pov --size 640x480\n"
          "         povray +Ishowcase.pov +W640 +H480 File_Gamma=1.0",
          [](const host::Scene& scene, const std::string&, std::ostream& out) {
            host::WritePovScene(scene, out);
          }};
}

}  // namespace

int RunExportPov(const std::string& scenePath, const std::string& outPath, const std::string& size,
                 std::ostream& err) {
  return RunSceneExport(PovCommand(), scenePath, outPath, size, err);
}

void RegisterExportPovCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  RegisterSceneExportCommand(root, PovCommand(), exitCode);
}

}  // namespace lumetra::app
