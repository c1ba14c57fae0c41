#include "app/plugin_info_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "app/global_options.h"
#include "app/plugin_location.h"
#include "host/plugin_module.h"

namespace lumetra::app {
namespace {

std::string Hex(uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

const char* InterfaceName(uint32_t kind) {
  switch (kind) {
    case 2:
      return "scene";
    case 6:
      return "menu";
    default:
      return "unknown";
  }
}

std::string StateText(const std::optional<bool>& enabled) {
  if (!enabled) return "host decides";
  return *enabled ? "enabled" : "disabled";
}

void PrintText(host::PluginModule& module, std::ostream& out) {
  const host::PluginInfo& info = module.Info();
  out << "Plug-in      " << module.Path() << "\n"
      << "Version      " << info.recordVersion << "\n"
      << "Name         " << info.name << "\n"
      << "Description  " << info.description << "\n"
      << "Notice       " << info.notice << "\n"
      << "E-mail       " << info.authorEmail << "\n"
      << "Web          " << info.authorWeb << "\n"
      << "Icon         " << info.icon << "\n"
      << "Interfaces   " << info.interfaces.size() << "\n";
  for (size_t i = 0; i < info.interfaces.size(); ++i) {
    out << "  " << i << "  kind " << info.interfaces[i].kind << " (" << InterfaceName(info.interfaces[i].kind)
        << "), version " << info.interfaces[i].version << "\n";
  }
  const auto entries = module.MenuEntries();
  out << "Menu items   " << entries.size() << "\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const host::MenuEntry& entry = entries[i];
    out << "  " << i << "  flags " << Hex(entry.flags) << "  ";
    if (entry.text) {
      out << "\"" << *entry.text << "\"  command " << entry.commandId << "  " << StateText(entry.enabled);
    } else {
      out << "(submenu)";
    }
    out << "\n";
  }
}

void PrintJson(host::PluginModule& module, std::ostream& out) {
  const host::PluginInfo& info = module.Info();
  nlohmann::json interfaces = nlohmann::json::array();
  for (const auto& entry : info.interfaces) {
    interfaces.push_back({{"kind", entry.kind}, {"version", entry.version}});
  }
  nlohmann::json menu = nlohmann::json::array();
  for (const auto& entry : module.MenuEntries()) {
    nlohmann::json item = {{"flags", entry.flags}, {"command", entry.commandId}};
    item["text"] = entry.text ? nlohmann::json(*entry.text) : nlohmann::json(nullptr);
    item["enabled"] = entry.enabled ? nlohmann::json(*entry.enabled) : nlohmann::json(nullptr);
    menu.push_back(item);
  }
  const nlohmann::json document = {{"path", module.Path()},    {"version", info.recordVersion},
                                   {"name", info.name},        {"description", info.description},
                                   {"notice", info.notice},    {"email", info.authorEmail},
                                   {"web", info.authorWeb},    {"icon", info.icon},
                                   {"interfaces", interfaces}, {"menu", menu}};
  out << document.dump(2) << "\n";
}

}  // namespace

int RunPluginInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
  try {
    auto module = host::PluginModule::Load(path);
    if (json) {
      PrintJson(*module, out);
    } else {
      PrintText(*module, out);
    }
    return 0;
  } catch (const host::PluginError& error) {
    err << "lumetra: " << error.what() << "\n";
    return 1;
  }
}

void RegisterPluginInfoCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("plugin-info", "Load the plug-in and print its information record and menu items");
  auto json = std::make_shared<bool>(false);
  command->add_flag("--json", *json, "Print one JSON object instead of text");
  command->footer(
      "The host loads the plug-in, reads its information record, connects the scene and\n"
      "menu interfaces and lists every menu item with its flags, command id and state.\n"
      "Exit codes: 0 loaded; 1 the plug-in could not be loaded or refused a record.");
  command->callback([&options, &exitCode, json] {
    exitCode = RunPluginInfo(LocatePlugin(options.plugin), *json, std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
