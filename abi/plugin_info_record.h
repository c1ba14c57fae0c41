#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

// One {kind, version} pair of the information record's interface list.
struct InterfaceEntry {
  uint32_t kind;
  uint32_t version;
};

// Head of the plug-in information record; the interface list follows it at offset
// 904 and ends with a zero pair, so a record with N interfaces is N * 8 + 912 bytes.
// Data and a 32-bit icon id only: the layout is the same in every build.
struct PluginInfoRecord {
  uint32_t recordVersion;  // always kPluginInfoVersion
  char name[32];
  char notice[128];
  char authorEmail[128];
  char authorWeb[128];
  char description[256];
  uint32_t icon;  // 32-bit icon id of the plug-in's own module
  uint8_t reserved[220];
  uint32_t interfaceCount;
};

constexpr uint32_t kPluginInfoVersion = 1103;
constexpr size_t kInterfaceListOffset = 904;

constexpr size_t PluginInfoRecordSize(size_t interfaceCount) {
  return interfaceCount * sizeof(InterfaceEntry) + 912;
}

inline InterfaceEntry* InterfaceEntries(PluginInfoRecord* record) {
  return reinterpret_cast<InterfaceEntry*>(reinterpret_cast<unsigned char*>(record) + kInterfaceListOffset);
}
inline const InterfaceEntry* InterfaceEntries(const PluginInfoRecord* record) {
  return InterfaceEntries(const_cast<PluginInfoRecord*>(record));
}

static_assert(offsetof(PluginInfoRecord, name) == 4);
static_assert(offsetof(PluginInfoRecord, notice) == 36);
static_assert(offsetof(PluginInfoRecord, authorEmail) == 164);
static_assert(offsetof(PluginInfoRecord, authorWeb) == 292);
static_assert(offsetof(PluginInfoRecord, description) == 420);
static_assert(offsetof(PluginInfoRecord, icon) == 676);
static_assert(offsetof(PluginInfoRecord, reserved) == 680);
static_assert(offsetof(PluginInfoRecord, interfaceCount) == 900);
static_assert(sizeof(PluginInfoRecord) == kInterfaceListOffset);

}  // namespace lumetra::abi
