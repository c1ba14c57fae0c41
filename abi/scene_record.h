#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"
#include "abi/environment_record.h"
#include "abi/interface_record.h"
#include "abi/mesh_record.h"
#include "abi/object_info.h"
#include "abi/preview_record.h"
#include "abi/render_settings_record.h"
#include "abi/scene_events.h"
#include "abi/view_record.h"

namespace lumetra::abi {

constexpr uint32_t kSceneInterfaceKind = 2;
constexpr uint32_t kSceneInterfaceVersion = 204;
constexpr uint32_t kSceneRecordMinimumSize32 = 916;

// Selectors of GetHostValue.
constexpr int32_t kHostValueApplication = 100;   // writes a u32 the application keeps
constexpr int32_t kHostValueMainWindow = 101;    // writes the u32 window id that parents the bar
constexpr int32_t kHostValueRegistryBase = 110;  // writes a const char* registry base path
constexpr int32_t kHostValueShiftKey = 120;      // writes a u32: 1 while the Shift key is held

// Byte streams of the scene file; the stream is a 32-bit handle of the host's.
using StreamWrite = int32_t(LUMETRA_STDCALL*)(uint32_t stream, const void* bytes, uint32_t count);
using StreamRead = int32_t(LUMETRA_STDCALL*)(uint32_t stream, void* bytes, uint32_t count);

// Host functions (the host fills these slots).
namespace host_fn {
using GetSelectedObject = int32_t(LUMETRA_STDCALL*)(uint32_t* id);
using FindObjectByName = int32_t(LUMETRA_STDCALL*)(const char* name, uint32_t* id);
using SetObjectParams = int32_t(LUMETRA_STDCALL*)(uint32_t id, const ParamRecord* params, uint32_t flags);
using GetObjectParams = int32_t(LUMETRA_STDCALL*)(uint32_t id, ParamRecord* params);
using SetObjectInfo = int32_t(LUMETRA_STDCALL*)(uint32_t id, const ObjectInfo* info, uint32_t flags);
using GetObjectInfo = int32_t(LUMETRA_STDCALL*)(uint32_t id, ObjectInfo* info);
using OpenChildList = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t* list);
using GetChild = int32_t(LUMETRA_STDCALL*)(uint32_t list, int32_t index, uint32_t* id);
using CloseChildList = int32_t(LUMETRA_STDCALL*)(uint32_t list);
using RenderWithPovRay = int32_t(LUMETRA_STDCALL*)(int32_t flags);
using SetUpdateMode = int32_t(LUMETRA_STDCALL*)(int32_t mode);
using RefreshViews = int32_t(LUMETRA_STDCALL*)();
using GetHostValue = int32_t(LUMETRA_STDCALL*)(int32_t selector, void* value);
using Redraw = int32_t(LUMETRA_STDCALL*)(int32_t what, int32_t flags);
using GetViewInfo = int32_t(LUMETRA_STDCALL*)(int32_t index, ViewRecord* view);
using GetPreviewInfo = int32_t(LUMETRA_STDCALL*)(int32_t view, PreviewRecord* preview);
using GetRenderSettings = int32_t(LUMETRA_STDCALL*)(int32_t selector, RenderSettingsRecord* settings);
using GetEnvironment = int32_t(LUMETRA_STDCALL*)(EnvironmentRecord* environment);
using SetViewInfo = int32_t(LUMETRA_STDCALL*)(int32_t index, const ViewRecord* view);
using ObjectChanged = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t what);
using FindPlugin = int32_t(LUMETRA_STDCALL*)(const InterfaceId* id, void** pluginInterface);
using FindFile = int32_t(LUMETRA_STDCALL*)(int32_t kind, char* path);  // path: kMaxPath bytes
using GetMeshInterface = int32_t(LUMETRA_STDCALL*)(uint32_t id, MeshRecord* mesh);
// Array readers: 0 and the range, -4 when it lies beyond the object's array.
using ReadProfilePoints = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count,
                                                    ProfilePoint* out);
using ReadBlobComponents = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count,
                                                     BlobComponent* out);
using ReadSplinePoints = ReadDoubles;   // three doubles per control point
using ReadSplinePatches = ReadIndices;  // sixteen point indices per patch
// Array writers, for the points a posed key moves: 0, or -4 when the range lies beyond
// the object's array (nothing is written). The arrays keep their lengths.
using WriteProfilePoints = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count,
                                                     const ProfilePoint* points);
using WriteSplinePoints = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count,
                                                    const double* points);
}  // namespace host_fn

constexpr size_t kMaxPath = 260;

// What FindFile looks for; the kind picks the configured folders searched after the
// scene's own folder.
enum FindFileKind : int32_t {
  kFindImageMap = 4,
  kFindBumpMap = 5,
  kFindHeightField = 6,
  kFindMeshFile = 8,
  kFindFont = 12,
};

// The scene's three top-level lists: list handles that are always open. OpenChildList
// of object 0 gives the object list; other objects give fresh handles above these.
constexpr uint32_t kObjectList = 0;
constexpr uint32_t kCameraList = 1;
constexpr uint32_t kMaterialList = 2;

// Entry points of the plug-in (written by the scene interface on connection).
namespace scene_entry {
using OnSceneEvent = int32_t(LUMETRA_STDCALL*)(uint32_t objectId, int32_t event);
using Operation8 = int32_t(LUMETRA_STDCALL*)(uint32_t, uint32_t, uint32_t);
using GetSceneDataSize = int32_t(LUMETRA_STDCALL*)(uint32_t);
using SaveSceneData = int32_t(LUMETRA_STDCALL*)(StreamWrite write, uint32_t stream, uint32_t);
using LoadSceneData = int32_t(LUMETRA_STDCALL*)(StreamRead read, uint32_t stream, uint32_t);
using Operation12 = int32_t(LUMETRA_STDCALL*)(uint32_t, uint32_t);
using Operation13 = int32_t(LUMETRA_STDCALL*)(uint32_t, uint32_t, uint32_t);
using Operation14 = void(LUMETRA_STDCALL*)(uint32_t, uint32_t);
using Operation15 = void(LUMETRA_STDCALL*)(uint32_t);
using Operation16 = int32_t(LUMETRA_STDCALL*)(uint32_t, uint32_t);
using SelectorCall = int32_t(LUMETRA_STDCALL*)(int32_t selector, uint32_t value);
using OnSceneNotify = int32_t(LUMETRA_STDCALL*)(uint32_t objectId, int32_t event, void* data, void* result);
}  // namespace scene_entry

// The scene interface record. Named slots are those either side uses; the others
// belong to the host. Comments give the 32-bit offsets.
struct SceneRecord {
  InterfaceRecord header;
  Slot host16[65];
  host_fn::GetSelectedObject getSelectedObject;  // 276
  host_fn::FindObjectByName findObjectByName;    // 280
  Slot host284[3];
  host_fn::SetObjectParams setObjectParams;  // 296
  host_fn::GetObjectParams getObjectParams;  // 300
  host_fn::SetObjectInfo setObjectInfo;      // 304
  host_fn::GetObjectInfo getObjectInfo;      // 308
  Slot host312[2];
  host_fn::OpenChildList openChildList;        // 320
  host_fn::GetChild getChild;                  // 324
  host_fn::CloseChildList closeChildList;      // 328
  host_fn::RenderWithPovRay renderWithPovRay;  // 332
  Slot host336[2];
  host_fn::SetUpdateMode setUpdateMode;  // 344
  host_fn::RefreshViews refreshViews;    // 348
  host_fn::GetHostValue getHostValue;    // 352
  Slot host356[1];
  host_fn::Redraw redraw;            // 360
  host_fn::GetViewInfo getViewInfo;  // 364
  Slot host368[1];
  host_fn::GetPreviewInfo getPreviewInfo;  // 372
  Slot host376[3];
  host_fn::GetRenderSettings getRenderSettings;  // 388
  Slot host392[3];
  host_fn::GetEnvironment getEnvironment;  // 404
  Slot host408[1];
  host_fn::SetViewInfo setViewInfo;      // 412
  host_fn::ObjectChanged objectChanged;  // 416
  Slot host420[3];
  host_fn::FindPlugin findPlugin;  // 432
  Slot host436[1];
  host_fn::FindFile findFile;                      // 440
  host_fn::GetMeshInterface getMeshInterface;      // 444
  host_fn::ReadProfilePoints readProfilePoints;    // 448
  host_fn::ReadBlobComponents readBlobComponents;  // 452
  host_fn::ReadSplinePoints readSplinePoints;      // 456
  host_fn::ReadSplinePatches readSplinePatches;    // 460
  host_fn::WriteProfilePoints writeProfilePoints;  // 464
  host_fn::WriteSplinePoints writeSplinePoints;    // 468
  Slot host472[43];
  scene_entry::OnSceneEvent onSceneEvent;  // 644
  scene_entry::Operation8 operation8;      // 648
  Slot host652[1];
  scene_entry::GetSceneDataSize getSceneDataSize;  // 656
  scene_entry::SaveSceneData saveSceneData;        // 660
  scene_entry::LoadSceneData loadSceneData;        // 664
  scene_entry::Operation12 operation12;            // 668
  scene_entry::Operation13 operation13;            // 672
  scene_entry::Operation14 operation14;            // 676
  scene_entry::Operation15 operation15;            // 680
  scene_entry::Operation16 operation16;            // 684
  scene_entry::SelectorCall selectorCall;          // 688
  scene_entry::OnSceneNotify onSceneNotify;        // 692
  Slot host696[55];
};

constexpr size_t kSceneRecordMinimumSize = SlotRecordSize(kSceneRecordMinimumSize32);

#define LUMETRA_SCENE_SLOT(field, offset32) \
  static_assert(offsetof(SceneRecord, field) == SlotOffset(offset32), #field)
LUMETRA_SCENE_SLOT(getSelectedObject, 276);
LUMETRA_SCENE_SLOT(findObjectByName, 280);
LUMETRA_SCENE_SLOT(setObjectParams, 296);
LUMETRA_SCENE_SLOT(getObjectParams, 300);
LUMETRA_SCENE_SLOT(setObjectInfo, 304);
LUMETRA_SCENE_SLOT(getObjectInfo, 308);
LUMETRA_SCENE_SLOT(openChildList, 320);
LUMETRA_SCENE_SLOT(getChild, 324);
LUMETRA_SCENE_SLOT(closeChildList, 328);
LUMETRA_SCENE_SLOT(renderWithPovRay, 332);
LUMETRA_SCENE_SLOT(setUpdateMode, 344);
LUMETRA_SCENE_SLOT(refreshViews, 348);
LUMETRA_SCENE_SLOT(getHostValue, 352);
LUMETRA_SCENE_SLOT(redraw, 360);
LUMETRA_SCENE_SLOT(getViewInfo, 364);
LUMETRA_SCENE_SLOT(getPreviewInfo, 372);
LUMETRA_SCENE_SLOT(getRenderSettings, 388);
LUMETRA_SCENE_SLOT(getEnvironment, 404);
LUMETRA_SCENE_SLOT(setViewInfo, 412);
LUMETRA_SCENE_SLOT(objectChanged, 416);
LUMETRA_SCENE_SLOT(findPlugin, 432);
LUMETRA_SCENE_SLOT(findFile, 440);
LUMETRA_SCENE_SLOT(getMeshInterface, 444);
LUMETRA_SCENE_SLOT(readProfilePoints, 448);
LUMETRA_SCENE_SLOT(readBlobComponents, 452);
LUMETRA_SCENE_SLOT(readSplinePoints, 456);
LUMETRA_SCENE_SLOT(readSplinePatches, 460);
LUMETRA_SCENE_SLOT(writeProfilePoints, 464);
LUMETRA_SCENE_SLOT(writeSplinePoints, 468);
LUMETRA_SCENE_SLOT(onSceneEvent, 644);
LUMETRA_SCENE_SLOT(operation8, 648);
LUMETRA_SCENE_SLOT(getSceneDataSize, 656);
LUMETRA_SCENE_SLOT(saveSceneData, 660);
LUMETRA_SCENE_SLOT(loadSceneData, 664);
LUMETRA_SCENE_SLOT(operation12, 668);
LUMETRA_SCENE_SLOT(operation13, 672);
LUMETRA_SCENE_SLOT(operation14, 676);
LUMETRA_SCENE_SLOT(operation15, 680);
LUMETRA_SCENE_SLOT(operation16, 684);
LUMETRA_SCENE_SLOT(selectorCall, 688);
LUMETRA_SCENE_SLOT(onSceneNotify, 692);
#undef LUMETRA_SCENE_SLOT
static_assert(sizeof(SceneRecord) == kSceneRecordMinimumSize);
static_assert(sizeof(void*) != 4 || sizeof(SceneRecord) == 916);
static_assert(sizeof(void*) != 8 || sizeof(SceneRecord) == 1816);

}  // namespace lumetra::abi
