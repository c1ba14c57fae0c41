#include "gui/plugin_menu.h"

namespace lumetra::gui {

PluginMenu::PluginMenu(host::PluginModule& plugin, QWidget* parent) : QMenu(parent), plugin_(plugin) {
  const std::string& name = plugin.Info().name;
  setTitle(name.empty() ? tr("&Plug-in") : QString::fromStdString(name));
  for (const host::MenuEntry& entry : plugin.MenuEntries()) {
    if (!entry.text) continue;  // the submenu's head: this menu itself
    QAction* action = addAction(QString::fromStdString(*entry.text));
    action->setData(entry.commandId);
    connect(action, &QAction::triggered, this, [this, command = entry.commandId] { Execute(command); });
  }
  connect(this, &QMenu::aboutToShow, this, &PluginMenu::UpdateStates);
  UpdateStates();
}

QAction* PluginMenu::Item(const QString& text) const {
  for (QAction* action : actions()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

// An item whose state the plug-in leaves to the host stays enabled.
void PluginMenu::UpdateStates() {
  for (const host::MenuEntry& entry : plugin_.MenuEntries()) {
    if (!entry.text) continue;
    if (QAction* action = Item(QString::fromStdString(*entry.text)))
      action->setEnabled(entry.enabled.value_or(true));
  }
}

bool PluginMenu::Run(const QString& text) {
  UpdateStates();
  QAction* action = Item(text);
  if (!action || !action->isEnabled()) return false;
  action->trigger();
  return true;
}

void PluginMenu::Execute(uint32_t command) {
  abi::MenuRecord* menu = plugin_.Menu();
  if (!menu || !menu->executeCommand) return;
  emit aboutToRun();
  menu->executeCommand(command);
  emit commandRan();
}

}  // namespace lumetra::gui
