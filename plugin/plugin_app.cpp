#include "plugin/plugin_app.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "abi/result_codes.h"

namespace lumetra::plugin {
namespace {
PluginApp* g_active = nullptr;
}

PluginApp::PluginApp() { g_active = this; }

PluginApp::~PluginApp() {
  // The record goes before the interfaces, as the host may still hold the record.
  infoRecord_.reset();
  interfaces_.clear();
  if (g_active == this) g_active = nullptr;
}

PluginApp* PluginApp::Active() { return g_active; }

void PluginApp::FreeRecord::operator()(abi::PluginInfoRecord* record) const { std::free(record); }

void PluginApp::AddInterface(std::unique_ptr<PluginInterface> interface) {
  interfaces_.push_back(std::move(interface));
}

int32_t PluginApp::GetDLLInfo(abi::PluginInfoRecord** out) {
  if (out == nullptr) return 0;
  const int32_t count = GetInterfaceCount();
  const size_t size = abi::PluginInfoRecordSize(static_cast<size_t>(count));
  void* block = std::malloc(size);
  if (block == nullptr) return 0;
  std::memset(block, 0, size);
  auto* record = static_cast<abi::PluginInfoRecord*>(block);
  infoRecord_.reset(record);
  record->recordVersion = abi::kPluginInfoVersion;
  *out = record;
  record->interfaceCount = static_cast<uint32_t>(count);
  abi::InterfaceEntry* entries = abi::InterfaceEntries(record);
  for (int32_t i = 0; i < count; ++i) {
    entries[i] = {interfaces_[static_cast<size_t>(i)]->Kind(),
                  interfaces_[static_cast<size_t>(i)]->Version()};
  }
  return FillDllInfo(record);
}

int32_t PluginApp::GetInterfaceFunctions(int32_t index, abi::InterfaceRecord* record) {
  if (index < 0 || index >= GetInterfaceCount()) return abi::kIndexOutOfRange;
  return interfaces_[static_cast<size_t>(index)]->Connect(record);
}

}  // namespace lumetra::plugin
