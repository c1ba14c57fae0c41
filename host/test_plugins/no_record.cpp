// A plug-in whose start-up failed: it has both exports but gives no information record.
#include "abi/calling_convention.h"
#include "abi/interface_record.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"

LUMETRA_EXPORT int GetDLLInfo(lumetra::abi::PluginInfoRecord**) { return 0; }
LUMETRA_EXPORT int GetInterfaceFunctions(int, lumetra::abi::InterfaceRecord*) {
  return lumetra::abi::kNullRecord;
}
