// lumetra-gui: the Lumetra host in a window.
#include <QApplication>
#include <QTimer>
#include <iostream>
#include <memory>

#include "app/global_options.h"
#include "app/menu_run.h"
#include "app/plugin_location.h"
#include "gui/gui_options.h"
#include "gui/main_window.h"
#include "gui/message_dialogs.h"
#include "gui/options_page.h"
#include "gui/plugin_menu.h"
#include "gui/screenshot.h"
#include "host/memory_policy.h"
#include "host/plugin_module.h"
#include "host/scene_file.h"

namespace {

using namespace lumetra;

constexpr int kFailed = 1;

int Fail(const std::string& message, int code) {
  std::cerr << "lumetra-gui: " << message << "\n";
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  lumetra::host::ReturnLargeBlocksAtOnce();
  int exitCode = 0;
  const std::optional<gui::GuiOptions> options =
      gui::ParseGuiOptions(argc, argv, std::cout, std::cerr, exitCode);
  if (!options) return exitCode;

  // Before the plug-in loads: it makes its windows in Qt only when it finds an application.
  QApplication application(argc, argv);
  QApplication::setApplicationName("Lumetra");
  platform::Messages::InstallHandler(gui::MessageDialogs());

  gui::MainWindow window(app::LocatePlugin(options->plugin));
  try {
    window.Start(options->scene);
  } catch (const host::SceneFileError& error) {
    return Fail(error.what(), app::kUsageError);
  } catch (const std::exception& error) {
    return Fail(error.what(), kFailed);
  }
  for (const std::string& text : options->menus) {
    if (!window.PluginCommands().Item(QString::fromStdString(text))) {
      return Fail("the plug-in has no menu item \"" + text + "\"", app::kUsageError);
    }
  }
  app::ApplyRenderSize(window.Session().Scene(), options->size);
  window.show();

  QTimer::singleShot(0, &window, [&] {
    // The sheet is modal: its page turns while "&Options" runs, after the items before it.
    std::unique_ptr<gui::OptionsPageTurner> turner;
    if (options->optionsPage != 0)
      turner = std::make_unique<gui::OptionsPageTurner>(options->optionsPage - 1);
    for (const std::string& text : options->menus) {
      if (!window.PluginCommands().Run(QString::fromStdString(text))) {
        std::cerr << "lumetra-gui: the plug-in's \"" << text << "\" is disabled for this scene\n";
      }
    }
  });
  if (!options->screenshot.empty()) {
    QTimer::singleShot(static_cast<int>(options->after * 1000), &window, [&] {
      const QString path = QString::fromStdString(options->screenshot);
      std::vector<gui::PlacedWindow> placed;
      const QString problem = gui::SavePng(gui::GrabWindows(window, &placed), path);
      if (!problem.isEmpty()) {
        std::cerr << "lumetra-gui: cannot write " << options->screenshot << ": " << problem.toStdString()
                  << "\n";
      } else {
        // What the picture shows where, for whoever looks at it by program.
        std::cout << "Saved " << options->screenshot << "\n";
        for (const gui::PlacedWindow& shown : placed) {
          std::cout << "  \"" << shown.title.toStdString() << "\" " << shown.rect.width() << "x"
                    << shown.rect.height() << "+" << shown.rect.x() << "+" << shown.rect.y() << "\n";
        }
      }
      window.CloseJobs();
      QApplication::exit(problem.isEmpty() ? 0 : kFailed);
    });
  }
  return QApplication::exec();
}
