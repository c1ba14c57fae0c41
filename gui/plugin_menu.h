// The plug-in's menu in the host's menu bar: its items as the plug-in lists them, enabled
// as it says each time the menu opens.
#pragma once

#include <QMenu>

#include "host/plugin_module.h"

namespace lumetra::gui {

class PluginMenu : public QMenu {
  Q_OBJECT

 public:
  // Titled with the plug-in's name.
  PluginMenu(host::PluginModule& plugin, QWidget* parent = nullptr);

  // The item of that text ("&Render"); null when the plug-in has none.
  QAction* Item(const QString& text) const;
  // Asks the plug-in which items it enables now.
  void UpdateStates();
  // Runs the item of that text as a click on it would; false when there is no such item
  // or the plug-in disables it now.
  bool Run(const QString& text);

 signals:
  // The plug-in is about to run a command.
  void aboutToRun();
  // The plug-in ran a command; it may have changed the scene and the views.
  void commandRan();

 private:
  void Execute(uint32_t command);

  host::PluginModule& plugin_;
};

}  // namespace lumetra::gui
