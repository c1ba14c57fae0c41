// lumetra-tool: commands that run the plug-in's own modules inside this process. The
// lumetra host reaches the plug-in only through its exports; these commands link its
// keyframe, translation and texture code directly, which a host never does.
#include <CLI/CLI.hpp>

#include "app/global_options.h"
#include "tools/pose_command.h"
#include "tools/texture_swatch_command.h"
#include "tools/time_command.h"

int main(int argc, char** argv) {
  CLI::App root{
      "lumetra-tool: the plug-in's keyframe, time and texture code run directly, beside the lumetra host",
      "lumetra-tool"};
  root.require_subcommand(1);
  root.set_version_flag("--version", "lumetra-tool 0.1.0");
  lumetra::app::GlobalOptions options;
  root.add_option(
      "--plugin", options.plugin,
      "Plug-in that pose loads (default: $LUMETRA_PLUGIN, else liblumetra.so beside lumetra-tool)");
  root.footer(
      "Unlike lumetra, this tool links the plug-in's modules keyframe (time formats, animation\n"
      "channels), translate and texture (the texture engine) into itself; pose also loads the\n"
      "plug-in as the host does. Run 'lumetra-tool SUBCOMMAND --help' for the options.\n"
      "Exit code 2: a command line that cannot be used (the message says why).\n");

  int exitCode = 0;
  lumetra::tools::RegisterTimeCommand(root, exitCode);
  lumetra::tools::RegisterPoseCommand(root, options, exitCode);
  lumetra::tools::RegisterTextureSwatchCommand(root, exitCode);
  try {
    root.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return root.exit(error) == 0 ? 0 : lumetra::app::kUsageError;
  }
  return exitCode;
}
