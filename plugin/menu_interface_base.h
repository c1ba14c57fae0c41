#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "abi/menu_record.h"
#include "plugin/plugin_interface.h"

namespace lumetra::plugin {

struct MenuItem {
  uint32_t flags;
  const char* text;  // null for a separator
  uint32_t commandId;
};

// The menu interface: the host enumerates the plug-in's menu items, asks whether a
// command is enabled and runs it through the three entry points of the record.
class MenuInterfaceBase : public PluginInterface {
 public:
  static const abi::InterfaceId kId;

  MenuInterfaceBase();
  ~MenuInterfaceBase() override;

  int32_t Connect(abi::InterfaceRecord* record) override;

  virtual void Initialize() {}
  // The items a menu interface starts with; none unless a subclass gives a table.
  virtual std::span<const MenuItem> StaticItemTable() const { return {}; }
  virtual int32_t EnumMenuItem(int32_t index, uint32_t* flags, const char** text, uint32_t* commandId);
  virtual int32_t QueryCommandState(uint32_t commandId, uint32_t* enabled);
  virtual int32_t ExecuteCommand(uint32_t commandId);
  virtual abi::EnumMenuItemEntry EnumMenuItemEntryPoint() const;
  virtual abi::QueryCommandStateEntry QueryCommandStateEntryPoint() const;
  virtual abi::ExecuteCommandEntry ExecuteCommandEntryPoint() const;

  static MenuInterfaceBase* Active();

 protected:
  // Fills the outputs from one item; shared by every enumeration.
  static int32_t Describe(std::span<const MenuItem> items, int32_t index, uint32_t* flags, const char** text,
                          uint32_t* commandId);

 private:
  std::vector<MenuItem> items_;
};

}  // namespace lumetra::plugin
