// A plug-in that lists a scene interface and refuses every record the host offers.
#include <cstdlib>

#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"

LUMETRA_EXPORT int GetDLLInfo(iface::PluginInfoRecord** out) {
  static iface::PluginInfoRecord* record = nullptr;
  if (!record) {
    record = static_cast<iface::PluginInfoRecord*>(std::calloc(1, iface::PluginInfoRecordSize(1)));
    record->recordVersion = iface::kPluginInfoVersion;
    record->interfaceCount = 1;
    iface::InterfaceEntries(record)[0] = {iface::kSceneInterfaceKind, 300};
  }
  *out = record;
  return 1;
}

LUMETRA_EXPORT int GetInterfaceFunctions(int, iface::InterfaceRecord*) {
  return iface::kWrongMajorVersion;
}
