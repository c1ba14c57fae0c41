// A plug-in that offers its information record but not its interfaces.
#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"

LUMETRA_EXPORT int GetDLLInfo(lumetra::abi::PluginInfoRecord**) { return 0; }
