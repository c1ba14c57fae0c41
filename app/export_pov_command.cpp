#include "app/export_pov_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "app/menu_run.h"
#include "host/pov_writer.h"
#include "host/scene_file.h"
#include "platform/file_io.h"

namespace lumetra::app {

constexpr int kBadInput = 2;

int RunExportPov(const std::string& scenePath, const std::string& outPath, const std::string& size,
                 std::ostream& err) {
  if (!size.empty() && !SizeProblem(size).empty()) {
    err << "lumetra export-pov: --size " << SizeProblem(size) << "\n";
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
  host::WritePovScene(scene, text);
  if (const std::error_code error = platform::WriteFileAtomically(outPath, text.str())) {
    err << "lumetra export-pov: cannot write " << outPath << ": " << error.message() << "\n";
    return 1;
  }
  return 0;
}

void RegisterExportPovCommand(CLI::App& root, const GlobalOptions&, int& exitCode) {
  CLI::App* command = root.add_subcommand("export-pov", "Write a scene as a POV-Ray 3.7 scene file");
  auto scene = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto size = std::make_shared<std::string>();
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->add_option("-o,--output", *out, "POV-Ray file to write")->required();
  command->add_option("--size", *size, "Picture size as WIDTHxHEIGHT; the camera takes its aspect");
  command->footer(
      "Example: lumetra export-pov examples/showcase/showcase.json -o showcase.pov --size 640x480\n"
      "         povray +Ishowcase.pov +W640 +H480 File_Gamma=1.0");
  command->callback(
      [scene, out, size, &exitCode] { exitCode = RunExportPov(*scene, *out, *size, std::cerr); });
}

}  // namespace lumetra::app
