#include "host/plugin_module.h"

#include <dlfcn.h>

#include <cstring>

#include "abi/result_codes.h"
#include "host/host_context.h"
#include "host/plugin_registry.h"

namespace lumetra::host {
namespace {

// Fixed-size string fields may lack their terminator in a faulty record.
std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

constexpr uint32_t kMaxInterfaces = 64;

// A RIB exporter runs in this process and reads the scene as the host keeps it.
const void* LUMETRA_STDCALL CurrentHostScene() {
  HostContext* context = HostContext::Current();
  return context ? &context->GetScene() : nullptr;
}

}  // namespace

std::string DescribeResult(int32_t code) {
  switch (code) {
    case abi::kOk:
      return "ok";
    case abi::kNullRecord:
      return "null record or missing identifier (-1)";
    case abi::kWrongMajorVersion:
      return "wrong major version (-2)";
    case abi::kRecordTooSmall:
      return "record too small (-3)";
    case abi::kIndexOutOfRange:
      return "interface index out of range (-4)";
    default:
      return "error " + std::to_string(code);
  }
}

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, ScenePreparer prepareScene) {
  std::unique_ptr<PluginModule> module(new PluginModule(path, std::move(prepareScene)));
  module->Open();
  module->ReadInfo();
  module->ConnectInterfaces();
  return module;
}

PluginModule::~PluginModule() {
  if (ribExporterConnected_) WithdrawPluginInterface(&ribExporter_->header);
  if (handle_) dlclose(handle_);
}

void PluginModule::Open() {
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw PluginError("cannot load plug-in: " + std::string(dlerror()));
  getDllInfo_ = reinterpret_cast<GetDLLInfoFn>(dlsym(handle_, "GetDLLInfo"));
  if (!getDllInfo_) throw PluginError("plug-in " + path_ + " lacks the export GetDLLInfo");
  getInterfaceFunctions_ = reinterpret_cast<GetInterfaceFunctionsFn>(dlsym(handle_, "GetInterfaceFunctions"));
  if (!getInterfaceFunctions_) {
    throw PluginError("plug-in " + path_ + " lacks the export GetInterfaceFunctions");
  }
}

void PluginModule::ReadInfo() {
  abi::PluginInfoRecord* record = nullptr;
  if (getDllInfo_(&record) == 0 || record == nullptr) {
    throw PluginError("plug-in " + path_ + " gave no information record (GetDLLInfo failed)");
  }
  if (record->interfaceCount > kMaxInterfaces) {
    throw PluginError("plug-in " + path_ + " lists " + std::to_string(record->interfaceCount) +
                      " interfaces; at most " + std::to_string(kMaxInterfaces) + " are accepted");
  }
  info_.recordVersion = record->recordVersion;
  info_.name = FieldText(record->name, sizeof record->name);
  info_.notice = FieldText(record->notice, sizeof record->notice);
  info_.authorEmail = FieldText(record->authorEmail, sizeof record->authorEmail);
  info_.authorWeb = FieldText(record->authorWeb, sizeof record->authorWeb);
  info_.description = FieldText(record->description, sizeof record->description);
  info_.icon = record->icon;
  const abi::InterfaceEntry* entries = abi::InterfaceEntries(record);
  info_.interfaces.assign(entries, entries + record->interfaceCount);
}

void PluginModule::ConnectInterfaces() {
  for (size_t i = 0; i < info_.interfaces.size(); ++i) {
    Connect(static_cast<int>(i), info_.interfaces[i]);
  }
}

void PluginModule::Connect(int index, const abi::InterfaceEntry& entry) {
  abi::InterfaceRecord* record = nullptr;
  const char* what = nullptr;
  bool* connected = nullptr;
  if (entry.kind == abi::kSceneInterfaceKind && !scene_) {
    scene_ = std::make_unique<abi::SceneRecord>();
    scene_->header = {sizeof(abi::SceneRecord), abi::kSceneInterfaceVersion, 0, 0};
    if (prepareScene_) prepareScene_(*scene_);
    record = &scene_->header;
    what = "scene";
    connected = &sceneConnected_;
  } else if (entry.kind == abi::kMenuInterfaceKind && !menu_) {
    menu_ = std::make_unique<abi::MenuRecord>();
    menu_->header = {sizeof(abi::MenuRecord), abi::kMenuInterfaceVersion, 0, 0};
    record = &menu_->header;
    what = "menu";
    connected = &menuConnected_;
  } else if (entry.kind == abi::kRibExporterInterfaceKind && !ribExporter_) {
    ribExporter_ = std::make_unique<abi::RibExporterRecord>();
    ribExporter_->header = {sizeof(abi::RibExporterRecord), abi::kRibExporterInterfaceVersion, 0, 0};
    ribExporter_->hostScene = CurrentHostScene;
    record = &ribExporter_->header;
    what = "RIB exporter";
    connected = &ribExporterConnected_;
  } else {
    return;  // an interface kind this host does not offer
  }
  const int result = getInterfaceFunctions_(index, record);
  if (result != abi::kOk) {
    throw PluginError("plug-in " + path_ + " refused the " + what +
                      " interface record: " + DescribeResult(result));
  }
  *connected = true;
  if (connected == &ribExporterConnected_) OfferPluginInterface(record);
}

std::vector<MenuEntry> PluginModule::MenuEntries() {
  std::vector<MenuEntry> entries;
  abi::MenuRecord* menu = Menu();
  if (!menu || !menu->enumMenuItem) return entries;
  // A bound keeps a plug-in that never ends its list from hanging the host.
  for (int32_t index = 0; index < 1024; ++index) {
    uint32_t flags = 0;
    const char* text = nullptr;
    uint32_t commandId = 0;
    if (menu->enumMenuItem(index, &flags, &text, &commandId) != abi::kOk) break;
    MenuEntry entry{flags, text ? std::optional<std::string>(text) : std::nullopt, commandId, {}};
    if (text && menu->queryCommandState) {
      constexpr uint32_t kUntouched = 0xFFFFFFFFu;
      uint32_t enabled = kUntouched;
      if (menu->queryCommandState(commandId, &enabled) == abi::kOk && enabled != kUntouched) {
        entry.enabled = enabled != 0;
      }
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace lumetra::host
