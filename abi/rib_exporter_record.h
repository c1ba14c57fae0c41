#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"
#include "abi/interface_record.h"

namespace lumetra::abi {

// The RIB exporter plug-in's interface: it writes the host's current scene as a RIB file,
// runs a RIB renderer on it and names the picture. The render plug-in finds it through the
// host's FindPlugin by kRibExporterId.
constexpr uint32_t kRibExporterInterfaceKind = 7;
constexpr uint32_t kRibExporterInterfaceVersion = 100;

// The identifier's bytes A2 FC 90 40 9E D2 9F ED, read little-endian.
constexpr InterfaceId kRibExporterId = {0x4090FCA2u, 0xED9FD29Eu};

constexpr size_t kRibImageNameBytes = 512;

namespace rib_fn {
// Filled by the host before the exporter connects: the host's current scene, an object of
// the host's own build (the exporter runs inside the host process), or null without one.
using HostScene = const void*(LUMETRA_STDCALL*)();
// Writes the scene to `ribFile` (its folder part is the first `dirLength` bytes, 0 when
// there is none) and renders it with `renderer`. 0 with the picture's file name in
// `image` (kRibImageNameBytes, terminated); non-zero when no picture was made, `image`
// then empty and no picture left behind.
using ExportAndRender = int32_t(LUMETRA_STDCALL*)(const char* renderer, const char* ribFile,
                                                  int32_t dirLength, char image[kRibImageNameBytes]);
}  // namespace rib_fn

// The exporter's record: the host's slot first, then entries the exporter leaves empty but
// for the fourteenth, export-and-render. Comments give the 32-bit offsets.
struct RibExporterRecord {
  InterfaceRecord header;
  rib_fn::HostScene hostScene;  // 16, the host's
  Slot reserved20[12];
  rib_fn::ExportAndRender exportAndRender;  // 68, the fourteenth entry
};

static_assert(offsetof(RibExporterRecord, hostScene) == SlotOffset(16));
static_assert(offsetof(RibExporterRecord, exportAndRender) == SlotOffset(68));
static_assert(sizeof(void*) != 4 || sizeof(RibExporterRecord) == 72);

}  // namespace lumetra::abi
