#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "abi/menu_record.h"
#include "abi/plugin_info_record.h"
#include "abi/rib_exporter_record.h"
#include "abi/scene_record.h"

namespace lumetra::host {

// A plug-in that could not be loaded or connected; the message names the cause.
class PluginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the host copied out of the plug-in's information record.
struct PluginInfo {
  uint32_t recordVersion = 0;
  std::string name;
  std::string notice;
  std::string authorEmail;
  std::string authorWeb;
  std::string description;
  uint32_t icon = 0;
  std::vector<abi::InterfaceEntry> interfaces;
};

struct MenuEntry {
  uint32_t flags = 0;
  std::optional<std::string> text;  // none for a separator or submenu head
  uint32_t commandId = 0;
  std::optional<bool> enabled;  // none when the plug-in leaves the state to the host
};

// A loaded plug-in: the shared object, its information record and the interface
// records the host allocated for it. The records outlive the plug-in's use of them:
// the module is closed first.
class PluginModule {
 public:
  // Fills the host's slots of a scene record before the plug-in connects to it.
  using ScenePreparer = std::function<void(abi::SceneRecord&)>;

  // Loads the shared object, reads its information record and connects every interface
  // it lists that this host knows. Throws PluginError naming the cause.
  static std::unique_ptr<PluginModule> Load(const std::string& path, ScenePreparer prepareScene = {});
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  const std::string& Path() const { return path_; }
  const PluginInfo& Info() const { return info_; }

  // Records of the connected interfaces, or null when the plug-in offers none.
  abi::SceneRecord* Scene() { return sceneConnected_ ? scene_.get() : nullptr; }
  abi::MenuRecord* Menu() { return menuConnected_ ? menu_.get() : nullptr; }
  // A RIB exporter's record, offered to FindPlugin while the module is loaded.
  abi::RibExporterRecord* RibExporter() { return ribExporterConnected_ ? ribExporter_.get() : nullptr; }

  // Every menu item with its enabled state; empty without a menu interface.
  std::vector<MenuEntry> MenuEntries();

 private:
  using GetDLLInfoFn = int (*)(abi::PluginInfoRecord**);
  using GetInterfaceFunctionsFn = int (*)(int, abi::InterfaceRecord*);

  PluginModule(std::string path, ScenePreparer prepareScene)
      : path_(std::move(path)), prepareScene_(std::move(prepareScene)) {}
  void Open();
  void ReadInfo();
  void ConnectInterfaces();
  void Connect(int index, const abi::InterfaceEntry& entry);

  std::string path_;
  ScenePreparer prepareScene_;
  void* handle_ = nullptr;
  GetDLLInfoFn getDllInfo_ = nullptr;
  GetInterfaceFunctionsFn getInterfaceFunctions_ = nullptr;
  PluginInfo info_;
  std::unique_ptr<abi::SceneRecord> scene_;
  std::unique_ptr<abi::MenuRecord> menu_;
  std::unique_ptr<abi::RibExporterRecord> ribExporter_;
  bool sceneConnected_ = false;
  bool menuConnected_ = false;
  bool ribExporterConnected_ = false;
};

// The text of an interface result code, for messages.
std::string DescribeResult(int32_t code);

}  // namespace lumetra::host
