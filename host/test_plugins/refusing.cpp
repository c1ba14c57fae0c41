// A plug-in that lists a scene interface and refuses every record the host offers.
#include <cstring>

#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"

namespace {
alignas(lumetra::abi::PluginInfoRecord) unsigned char g_record[lumetra::abi::PluginInfoRecordSize(1)];
}

LUMETRA_EXPORT int GetDLLInfo(lumetra::abi::PluginInfoRecord** out) {
  auto* record = reinterpret_cast<lumetra::abi::PluginInfoRecord*>(g_record);
  std::memset(g_record, 0, sizeof g_record);
  record->recordVersion = lumetra::abi::kPluginInfoVersion;
  record->interfaceCount = 1;
  lumetra::abi::InterfaceEntries(record)[0] = {lumetra::abi::kSceneInterfaceKind, 300};
  *out = record;
  return 1;
}

LUMETRA_EXPORT int GetInterfaceFunctions(int, lumetra::abi::InterfaceRecord*) {
  return lumetra::abi::kWrongMajorVersion;
}
