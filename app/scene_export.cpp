#include "app/scene_export.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "app/menu_run.h"
#include "host/scene_file.h"
#include "platform/file_io.h"

namespace lumetra::app {

constexpr int kBadInput = 2;

int RunSceneExport(const SceneExportCommand& command, const std::string& scenePath,
                   const std::string& outPath, const std::string& size, std::ostream& err) {
  if (!size.empty() && !SizeProblem(size).empty()) {
    err << "lumetra " << command.name << ": --size " << SizeProblem(size) << "\n";
    return kBadInput;
  }
  host::Scene scene;
  try {
    scene = host::LoadScene(scenePath);
  } catch (const host::SceneFileError& error) {
    err << "lumetra: " << error.what() << "\n";
    return kBadInput;
  }
  ApplyRenderSize(scene, size);
  std::ostringstream text;
  command.write(scene, outPath, text);
  if (const std::error_code error = platform::WriteFileAtomically(outPath, text.str())) {
    err << "lumetra " << command.name << ": cannot write " << outPath << ": " << error.message() << "\n";
    return 1;
  }
  return 0;
}

void RegisterSceneExportCommand(CLI::App& root, SceneExportCommand command, int& exitCode) {
  CLI::App* app = root.add_subcommand(command.name, command.description);
  auto scene = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto size = std::make_shared<std::string>();
  app->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  app->add_option("-o,--output", *out, command.fileHelp)->required();
  app->add_option("--size", *size, "Picture size as WIDTHxHEIGHT; the camera takes its aspect");
  app->footer(command.footer);
  app->callback([command, scene, out, size, &exitCode] {
    exitCode = RunSceneExport(command, *scene, *out, *size, std::cerr);
  });
}

}  // namespace lumetra::app
