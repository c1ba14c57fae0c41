// A plug-in that lists a scene interface and refuses every record the host offers.
#include <cstring>

#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"

namespace {
alignas(iface::PluginInfoRecord) unsigned char g_record[iface::PluginInfoRecordSize(1)];
}

LUMETRA_EXPORT int GetDLLInfo(iface::PluginInfoRecord** out) {
  auto* record = reinterpret_cast<iface::PluginInfoRecord*>(g_record);
  std::memset(g_record, 0, sizeof g_record);
  record->recordVersion = iface::kPluginInfoVersion;
  record->interfaceCount = 1;
  iface::InterfaceEntries(record)[0] = {iface::kSceneInterfaceKind, 300};
  *out = record;
  return 1;
}

LUMETRA_EXPORT int GetInterfaceFunctions(int, iface::InterfaceRecord*) {
  return iface::kWrongMajorVersion;
}
