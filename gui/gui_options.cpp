#include "gui/gui_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

#include "abi/menu_record.h"
#include "app/global_options.h"
#include "app/menu_run.h"

namespace lumetra::gui {
namespace {

std::string PngProblem(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".png" ? std::string() : "wants a .png file, not '" + path + "'";
}

}  // namespace

std::optional<GuiOptions> ParseGuiOptions(int argc, const char* const* argv, std::ostream& out,
                                          std::ostream& err, int& exitCode) {
  GuiOptions options;
  CLI::App command{
      "lumetra-gui: the Lumetra host in a window: the scene's views, its objects and their "
      "values, and the plug-in's menu",
      "lumetra-gui"};
  command.add_option("SCENE", options.scene, "The scene file to open (default: a new scene)")
      ->check(CLI::ExistingFile);
  command.add_option("--plugin", options.plugin,
                     "Plug-in to load (default: $LUMETRA_PLUGIN, else liblumetra.so beside lumetra-gui or "
                     "installed with it)");
  command
      .add_option("--menu", options.menus,
                  "Runs the plug-in's menu item of this text (\"&Render\") once the scene is shown; "
                  "may be given more than once")
      ->option_text("TEXT");
  bool timeline = false;
  command.add_flag("--timeline", timeline,
                   "Opens the plug-in's timeline editor on the scene (its \"&Timeline\" menu item) after "
                   "the other --menu items");
  command
      .add_option("--options-page", options.optionsPage,
                  "Opens the plug-in's \"Rendering Options\" sheet (its \"&Options\" menu item) on this "
                  "page after the other menu items: 1 Rendering, 2 Active Jobs, 3 Animation")
      ->option_text("N")
      ->check(CLI::Range(1, 3));
  command
      .add_option("--size", options.size, "Render size of this run as WIDTHxHEIGHT (default: the scene's)")
      ->check(app::SizeCheck());
  auto* screenshot = command
                         .add_option("--screenshot", options.screenshot,
                                     "After --after seconds, saves a picture of the main window with the "
                                     "program's other windows (render windows) over it, then quits")
                         ->option_text("FILE.png")
                         ->check(CLI::Validator(PngProblem, "FILE.png"));
  command
      .add_option("--after", options.after, "Seconds from showing the scene to the screenshot (default 1)")
      ->option_text("SECONDS")
      ->check(CLI::NonNegativeNumber)
      ->needs(screenshot);
  command.footer(
      "The window holds the four views of the scene, the object tree and the selected object's\n"
      "values; the plug-in's menu runs its commands, Window > Active Jobs lists its render windows.\n"
      "Quitting with --screenshot closes the render windows, which aborts their jobs.\n"
      "Example: lumetra-gui examples/showcase/showcase.json --menu \"&Render\" --size 320x180\n"
      "The timeline editor's pictures: lumetra-gui SCENE --timeline --screenshot timeline.png\n"
      "The options sheet's Active Jobs page with a render running:\n"
      "  lumetra-gui SCENE --size 1600x1200 --menu \"&Render\" --options-page 2 --screenshot jobs.png\n"
      "Exit codes: 0 done; 1 the plug-in cannot be loaded or the picture cannot be written;\n"
      "2 a command line or scene that cannot be used (the message says why).\n");
  try {
    command.parse(argc, argv);
    if (timeline) options.menus.push_back(abi::kMenuTextTimeline);
    if (options.optionsPage != 0) options.menus.push_back(abi::kMenuTextOptions);
  } catch (const CLI::ParseError& error) {
    exitCode = command.exit(error, out, err) == 0 ? 0 : app::kUsageError;
    return std::nullopt;
  }
  exitCode = 0;
  return options;
}

}  // namespace lumetra::gui
