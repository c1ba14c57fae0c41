#include "app/validate_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "abi/scene_record.h"
#include "host/scene_file.h"

namespace lumetra::app {

int RunValidate(const std::string& scenePath, std::ostream& out, std::ostream& err) {
  try {
    const host::Scene scene = host::LoadScene(scenePath);
    out << scenePath << ": ok, " << scene.ObjectCount() << " objects (" << scene.List(abi::kObjectList).size()
        << " at the top, " << scene.List(abi::kCameraList).size() << " cameras, "
        << scene.List(abi::kMaterialList).size() << " materials)\n";
    return 0;
  } catch (const host::SceneFileError& error) {
    err << "lumetra: " << error.what() << "\n";
    return 1;
  }
}

void RegisterValidateCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("validate", "Check a scene file and every mesh, image and font it names");
  auto scene = std::make_shared<std::string>();
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->callback([scene, &exitCode] { exitCode = RunValidate(*scene, std::cout, std::cerr); });
}

}  // namespace lumetra::app
