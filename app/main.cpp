// lumetra: the substitute host and command line.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/anim_export_command.h"
#include "app/anim_import_command.h"
#include "app/animate_command.h"
#include "app/export_pov_command.h"
#include "app/export_rib_command.h"
#include "app/farm_command.h"
#include "app/global_options.h"
#include "app/glyphs_command.h"
#include "app/image_convert_command.h"
#include "app/image_info_command.h"
#include "app/info_command.h"
#include "app/key_command.h"
#include "app/plugin_info_command.h"
#include "app/render_command.h"
#include "app/settings_command.h"
#include "app/validate_command.h"
#include "host/memory_policy.h"
#include "platform/messages.h"

int main(int argc, char** argv) {
  lumetra::host::ReturnLargeBlocksAtOnce();
  CLI::App root{"lumetra: renders and animates scenes with the Lumetra plug-in", "lumetra"};
  root.require_subcommand(1);
  root.set_version_flag("--version", "lumetra " LUMETRA_VERSION);
  lumetra::app::GlobalOptions options;
  root.add_option("--plugin", options.plugin,
                  "Plug-in to load (default: $LUMETRA_PLUGIN, else liblumetra.so beside lumetra or "
                  "installed with it)");
  root.add_option("--answer", options.answer,
                  "How message boxes are answered without a window: ok (default), cancel or no")
      ->check(CLI::IsMember({"ok", "yes", "cancel", "no"}));
  root.footer(
      "Run 'lumetra SUBCOMMAND --help' for the options of a subcommand. The commands that\n"
      "run the plug-in's own modules directly (time, pose, texture-swatch) are lumetra-tool's.\n"
      "Exit code 2: a command line that cannot be used (the message says why).\n");

  int exitCode = 0;
  lumetra::app::RegisterPluginInfoCommand(root, options, exitCode);
  lumetra::app::RegisterInfoCommand(root, options, exitCode);
  lumetra::app::RegisterValidateCommand(root, options, exitCode);
  lumetra::app::RegisterRenderCommand(root, options, exitCode);
  lumetra::app::RegisterAnimateCommand(root, options, exitCode);
  lumetra::app::RegisterFarmCommand(root, options, exitCode);
  lumetra::app::RegisterGlyphsCommand(root, options, exitCode);
  lumetra::app::RegisterImageInfoCommand(root, options, exitCode);
  lumetra::app::RegisterImageConvertCommand(root, options, exitCode);
  lumetra::app::RegisterKeyCommand(root, options, exitCode);
  lumetra::app::RegisterAnimExportCommand(root, options, exitCode);
  lumetra::app::RegisterAnimImportCommand(root, options, exitCode);
  lumetra::app::RegisterSettingsCommand(root, exitCode);
  lumetra::app::RegisterExportPovCommand(root, options, exitCode);
  lumetra::app::RegisterExportRibCommand(root, exitCode);

  root.parse_complete_callback([&options] {
    if (const auto policy = lumetra::platform::Messages::ParseHeadlessPolicy(options.answer)) {
      lumetra::platform::Messages::SetHeadlessPolicy(*policy);
    }
  });
  try {
    root.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version end well; every other parse error is a usage error.
    return root.exit(error) == 0 ? 0 : lumetra::app::kUsageError;
  }
  return exitCode;
}
