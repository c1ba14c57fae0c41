#include "plugin/menu_interface_base.h"

#include <algorithm>

#include "abi/result_codes.h"

namespace lumetra::plugin {
namespace {

MenuInterfaceBase* g_active = nullptr;

int32_t LUMETRA_STDCALL EnumMenuItemEntry(int32_t index, uint32_t* flags, const char** text,
                                          uint32_t* commandId) {
  return g_active->EnumMenuItem(index, flags, text, commandId);
}
int32_t LUMETRA_STDCALL ExecuteCommandEntry(uint32_t commandId) {
  return g_active->ExecuteCommand(commandId);
}
int32_t LUMETRA_STDCALL QueryCommandStateEntry(uint32_t commandId, uint32_t* enabled) {
  return g_active->QueryCommandState(commandId, enabled);
}

}  // namespace

const abi::InterfaceId MenuInterfaceBase::kId{0x3C34761Au, 0x0E6095A6u};

MenuInterfaceBase::MenuInterfaceBase()
    : PluginInterface(abi::kMenuInterfaceKind, abi::kMenuInterfaceVersion, &kId) {
  g_active = this;
}

MenuInterfaceBase::~MenuInterfaceBase() {
  if (g_active == this) g_active = nullptr;
}

MenuInterfaceBase* MenuInterfaceBase::Active() { return g_active; }

int32_t MenuInterfaceBase::Connect(abi::InterfaceRecord* record) {
  const int32_t result = Attach(record, abi::kMenuRecordMinimumSize);
  if (result != abi::kOk) return result;
  auto* menu = reinterpret_cast<abi::MenuRecord*>(record);
  menu->enumMenuItem = EnumMenuItemEntryPoint();
  menu->queryCommandState = QueryCommandStateEntryPoint();
  menu->executeCommand = ExecuteCommandEntryPoint();
  const auto table = StaticItemTable();
  items_.assign(table.begin(), table.end());
  return abi::kOk;
}

int32_t MenuInterfaceBase::Describe(std::span<const MenuItem> items, int32_t index, uint32_t* flags,
                                    const char** text, uint32_t* commandId) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return abi::kNoMoreItems;
  const MenuItem& item = items[static_cast<size_t>(index)];
  if (flags) *flags = item.flags;
  if (text) *text = item.text;
  if (commandId) *commandId = item.commandId;
  return abi::kOk;
}

int32_t MenuInterfaceBase::EnumMenuItem(int32_t index, uint32_t* flags, const char** text,
                                        uint32_t* commandId) {
  return Describe(items_, index, flags, text, commandId);
}

int32_t MenuInterfaceBase::QueryCommandState(uint32_t commandId, uint32_t* enabled) {
  const bool listed = std::any_of(items_.begin(), items_.end(),
                                  [&](const MenuItem& item) { return item.commandId == commandId; });
  if (listed && enabled) *enabled = 1;
  return abi::kOk;
}

int32_t MenuInterfaceBase::ExecuteCommand(uint32_t) { return abi::kOk; }

abi::EnumMenuItemEntry MenuInterfaceBase::EnumMenuItemEntryPoint() const { return EnumMenuItemEntry; }
abi::QueryCommandStateEntry MenuInterfaceBase::QueryCommandStateEntryPoint() const {
  return QueryCommandStateEntry;
}
abi::ExecuteCommandEntry MenuInterfaceBase::ExecuteCommandEntryPoint() const { return ExecuteCommandEntry; }

}  // namespace lumetra::plugin
