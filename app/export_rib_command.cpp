#include "app/export_rib_command.h"

#include <filesystem>

#include "app/scene_export.h"
#include "host/rib_writer.h"

namespace lumetra::app {
namespace {

SceneExportCommand RibCommand() {
  return {"export-rib", "Write a scene as a RenderMan RIB file", "RIB file to write",
          "Example: lumetra export-rib examples/showcase/showcase.json -o showcase.rib --size 640x480\n"
          "         lumetra-rib showcase.rib   (writes showcase.tif)",
          [](const host::Scene& scene, const std::string& outPath, std::ostream& out) {
            host::RibOptions options;
            options.display = std::filesystem::path(outPath).replace_extension(".tif").string();
            host::WriteRibScene(scene, out, options);
          }};
}

}  // namespace

int RunExportRib(const std::string& scenePath, const std::string& outPath, const std::string& size,
                 std::ostream& err) {
  return RunSceneExport(RibCommand(), scenePath, outPath, size, err);
}

void RegisterExportRibCommand(CLI::App& root, int& exitCode) {
  RegisterSceneExportCommand(root, RibCommand(), exitCode);
}

}  // namespace lumetra::app
