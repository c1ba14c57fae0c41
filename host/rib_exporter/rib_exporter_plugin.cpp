// liblumetra-rib-exporter.so: the RIB exporter plug-in. It lives in the host's process and
// reads the host's scene through the record's hostScene slot; the scene is the host's own
// object, so the host/ code linked in here reads it as the host would.
#include <cstdio>
#include <cstring>
#include <exception>

#include "abi/calling_convention.h"
#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "abi/rib_exporter_record.h"
#include "host/rib_export_run.h"
#include "platform/debug_log.h"

namespace lumetra::host {
namespace {

struct InfoRecord {
  abi::PluginInfoRecord head;
  abi::InterfaceEntry entries[2];
};
static_assert(sizeof(InfoRecord) == abi::PluginInfoRecordSize(1));

InfoRecord g_info;
abi::RibExporterRecord* g_record = nullptr;  // the record the host connected

void Copy(char* field, size_t size, const char* text) { std::strncpy(field, text, size - 1); }

constexpr int32_t kFailed = 1;

int32_t LUMETRA_STDCALL ExportAndRender(const char* renderer, const char* ribFile, int32_t dirLength,
                                        char image[abi::kRibImageNameBytes]) {
  if (image) image[0] = '\0';
  if (!renderer || !ribFile || !image || dirLength < 0 || !g_record || !g_record->hostScene) return kFailed;
  const auto* scene = static_cast<const Scene*>(g_record->hostScene());
  if (!scene) {
    platform::DebugLog::Write("The RIB exporter found no scene in the host\n");
    return kFailed;
  }
  try {
    const RibRenderResult result =
        ExportAndRenderRib(*scene, renderer, ribFile, static_cast<size_t>(dirLength));
    if (!result.ok) {
      platform::DebugLog::Printf("RIB export: %s\n", result.error.c_str());
      return kFailed;
    }
    if (result.image.size() >= abi::kRibImageNameBytes) {
      platform::DebugLog::Printf("RIB export: the picture's name is too long: %s\n", result.image.c_str());
      std::remove(result.image.c_str());
      return kFailed;
    }
    std::memcpy(image, result.image.c_str(), result.image.size() + 1);
    return 0;
  } catch (const std::exception& error) {
    // Nothing may cross the plug-in's boundary.
    platform::DebugLog::Printf("RIB export: %s\n", error.what());
    return kFailed;
  }
}

}  // namespace
}  // namespace lumetra::host

using namespace lumetra;

LUMETRA_EXPORT int GetDLLInfo(abi::PluginInfoRecord** out) {
  if (!out) return 0;
  abi::PluginInfoRecord& head = host::g_info.head;
  head = abi::PluginInfoRecord{};
  head.recordVersion = abi::kPluginInfoVersion;
  host::Copy(head.name, sizeof head.name, "Lumetra RIB Exporter");
  host::Copy(head.description, sizeof head.description,
             "Writes the scene as a RenderMan RIB file and renders it with a RIB renderer");
  head.interfaceCount = 1;
  host::g_info.entries[0] = {abi::kRibExporterInterfaceKind, abi::kRibExporterInterfaceVersion};
  host::g_info.entries[1] = {0, 0};
  *out = &head;
  return 1;
}

LUMETRA_EXPORT int GetInterfaceFunctions(int index, abi::InterfaceRecord* record) {
  if (!record) return abi::kNullRecord;
  if (index != 0) return abi::kIndexOutOfRange;
  if (record->version / 100 != abi::kRibExporterInterfaceVersion / 100) return abi::kWrongMajorVersion;
  if (record->size < sizeof(abi::RibExporterRecord)) return abi::kRecordTooSmall;
  auto* exporter = reinterpret_cast<abi::RibExporterRecord*>(record);
  exporter->header.idLow = abi::kRibExporterId.low;
  exporter->header.idHigh = abi::kRibExporterId.high;
  exporter->exportAndRender = host::ExportAndRender;
  host::g_record = exporter;
  return abi::kOk;
}
