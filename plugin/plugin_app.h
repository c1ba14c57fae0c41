#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "abi/plugin_info_record.h"
#include "plugin/plugin_interface.h"

namespace lumetra::plugin {

// The plug-in's application object: owns the interfaces it offers (index = position in
// the information record) and the information record handed to the host.
class PluginApp {
 public:
  PluginApp();
  virtual ~PluginApp();
  PluginApp(const PluginApp&) = delete;
  PluginApp& operator=(const PluginApp&) = delete;

  // Start-up and shut-down of the module; a failed start-up keeps the plug-in from loading.
  virtual bool InitInstance() { return true; }
  virtual void ExitInstance() {}

  // Builds the information record, stores it through `out` and returns 1; returns 0
  // with `out` untouched when no record can be made.
  int32_t GetDLLInfo(abi::PluginInfoRecord** out);

  virtual int32_t FillDllInfo(abi::PluginInfoRecord* /*record*/) { return 0; }
  virtual int32_t GetInterfaceCount() const { return static_cast<int32_t>(interfaces_.size()); }
  virtual int32_t GetInterfaceFunctions(int32_t index, abi::InterfaceRecord* record);

  const abi::PluginInfoRecord* InfoRecord() const { return infoRecord_.get(); }

  // The one application of this module, or null before it exists.
  static PluginApp* Active();

 protected:
  // Takes ownership; the interface's index is its position in the list.
  void AddInterface(std::unique_ptr<PluginInterface> interface);
  PluginInterface* Interface(size_t index) const { return interfaces_[index].get(); }

 private:
  struct FreeRecord {
    void operator()(abi::PluginInfoRecord* record) const;
  };
  std::vector<std::unique_ptr<PluginInterface>> interfaces_;
  std::unique_ptr<abi::PluginInfoRecord, FreeRecord> infoRecord_;
};

}  // namespace lumetra::plugin
