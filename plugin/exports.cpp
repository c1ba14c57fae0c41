// The two entries the host looks up by name.
#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "plugin/plugin_app.h"

LUMETRA_EXPORT int GetDLLInfo(lumetra::abi::PluginInfoRecord** out) {
  lumetra::plugin::PluginApp* app = lumetra::plugin::PluginApp::Active();
  return app ? app->GetDLLInfo(out) : 0;
}

LUMETRA_EXPORT int GetInterfaceFunctions(int index, lumetra::abi::InterfaceRecord* record) {
  if (record == nullptr) return lumetra::abi::kNullRecord;
  lumetra::plugin::PluginApp* app = lumetra::plugin::PluginApp::Active();
  return app ? app->GetInterfaceFunctions(index, record) : lumetra::abi::kIndexOutOfRange;
}
