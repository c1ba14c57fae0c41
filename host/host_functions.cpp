#include "host/host_functions.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "abi/result_codes.h"
#include "host/bar_site.h"
#include "host/desktop.h"
#include "host/host_context.h"
#include "host/object_records.h"
#include "host/plugin_registry.h"

namespace lumetra::host {
namespace {

using namespace lumetra::abi;

Scene* CurrentScene() {
  HostContext* context = HostContext::Current();
  return context ? &context->GetScene() : nullptr;
}

// Runs `body(context)` when a scene is open; kNoScene otherwise.
template <typename Body>
int32_t WithContext(Body body) {
  HostContext* context = HostContext::Current();
  return context ? body(*context) : kNoScene;
}

// The plug-in changed what the views show.
void Changed(HostContext& context) {
  if (context.changed) context.changed();
}

template <typename Body>
int32_t WithObject(uint32_t id, Body body) {
  return WithContext([&](HostContext& context) -> int32_t {
    SceneObject* object = context.GetScene().Find(id);
    return object ? body(context, *object) : kUnknownObject;
  });
}

int32_t LUMETRA_STDCALL GetSelectedObjectFn(uint32_t* id) {
  if (!id) return kNullRecord;
  return WithContext([&](HostContext& context) {
    *id = context.GetScene().selected;
    return *id ? kOk : kNotFound;
  });
}

int32_t LUMETRA_STDCALL FindObjectByNameFn(const char* name, uint32_t* id) {
  if (!name || !id) return kNullRecord;
  return WithContext([&](HostContext& context) {
    const SceneObject* object = context.GetScene().FindByName(std::string(name, strnlen(name, 128)));
    *id = object ? object->id : 0;
    return object ? kOk : kNotFound;
  });
}

int32_t LUMETRA_STDCALL SetObjectParamsFn(uint32_t id, const ParamRecord* params, uint32_t flags) {
  if (!params) return kNullRecord;
  if (params->version / 100 != kParamRecordVersion / 100) return kWrongMajorVersion;
  return WithObject(id, [&](HostContext& context, SceneObject& object) {
    object.params = *params;
    context.Log().paramStores.emplace_back(id, flags);
    Changed(context);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetObjectParamsFn(uint32_t id, ParamRecord* params) {
  if (!params) return kNullRecord;
  if (params->version / 100 != kParamRecordVersion / 100) return kWrongMajorVersion;
  return WithObject(id, [&](HostContext&, SceneObject& object) {
    *params = object.params;
    return kOk;
  });
}

int32_t LUMETRA_STDCALL SetObjectInfoFn(uint32_t id, const ObjectInfo* info, uint32_t flags) {
  return WithObject(id, [&](HostContext& context, SceneObject& object) {
    const int32_t result = StoreObjectInfo(info, object);
    if (result == kOk) {
      context.Log().infoStores.emplace_back(id, flags);
      Changed(context);
    }
    return result;
  });
}

int32_t LUMETRA_STDCALL GetObjectInfoFn(uint32_t id, ObjectInfo* info) {
  return WithObject(id, [&](HostContext&, SceneObject& object) { return FillObjectInfo(object, info); });
}

int32_t LUMETRA_STDCALL OpenChildListFn(uint32_t id, uint32_t* list) {
  if (!list) return kNullRecord;
  if (id == 0) {
    *list = kObjectList;
    return CurrentScene() ? kOk : kNoScene;
  }
  return WithObject(id, [&](HostContext& context, SceneObject& object) {
    const auto handle = context.Lists().Open(object.children);
    if (!handle) return kTooManyLists;
    *list = *handle;
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetChildFn(uint32_t list, int32_t index, uint32_t* id) {
  if (!id) return kNullRecord;
  if (index < 0) return kIndexOutOfRange;
  return WithContext([&](HostContext& context) -> int32_t {
    const std::vector<uint32_t>* children =
        list <= kMaterialList ? &context.GetScene().List(list) : context.Lists().Find(list);
    if (!children) return kUnknownList;
    if (static_cast<size_t>(index) >= children->size()) return kNoMoreItems;
    *id = (*children)[static_cast<size_t>(index)];
    return kOk;
  });
}

int32_t LUMETRA_STDCALL CloseChildListFn(uint32_t list) {
  return WithContext([&](HostContext& context) {
    if (list <= kMaterialList) return kOk;  // the scene's lists stay open
    return context.Lists().Close(list) ? kOk : kUnknownList;
  });
}

int32_t LUMETRA_STDCALL RenderWithPovRayFn(int32_t) {
  return WithContext([](HostContext& context) {
    ++context.Log().povRayRequests;
    if (!context.startPovRender) return kNotFound;
    std::string error;
    if (context.startPovRender(error)) return kOk;
    std::fprintf(stderr, "lumetra: %s\n", error.c_str());
    return kNotFound;
  });
}

int32_t LUMETRA_STDCALL SetUpdateModeFn(int32_t mode) {
  return WithContext([&](HostContext& context) {
    context.updateMode = mode;
    context.Log().updateModes.push_back(mode);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL RefreshViewsFn() {
  return WithContext([](HostContext& context) {
    ++context.Log().refreshes;
    Changed(context);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetHostValueFn(int32_t selector, void* value) {
  if (!value) return kNullRecord;
  return WithContext([&](HostContext& context) -> int32_t {
    switch (selector) {
      case kHostValueApplication:
        std::memcpy(value, &context.applicationValue, sizeof(uint32_t));
        return kOk;
      case kHostValueMainWindow: {
        const uint32_t window = context.mainWindow ? context.mainWindow : BarSite::Instance().MainWindow();
        if (!window) return kNotFound;
        std::memcpy(value, &window, sizeof(uint32_t));
        return kOk;
      }
      case kHostValueBarSite:
        if (!BarSite::Instance().IsOpen()) return kNotFound;
        *static_cast<const BarSiteRecord**>(value) = BarSite::Instance().Record();
        return kOk;
      case kHostValueShiftKey: {
        const uint32_t held = context.shiftKey && context.shiftKey() ? 1 : 0;
        std::memcpy(value, &held, sizeof held);
        return kOk;
      }
      case kHostValueRegistryBase:
        *static_cast<const char**>(value) = kRegistryBase;
        return kOk;
      case abi::kHostValueDesktop:
        *static_cast<const abi::DesktopRecord**>(value) = Desktop::Instance().Record();
        return kOk;
      case abi::kHostValueAnimationRun:
        if (!context.animationRun) return kNotFound;
        *static_cast<const abi::AnimationRunRecord**>(value) = &*context.animationRun;
        return kOk;
      case abi::kHostValueAnimationFrames: {
        const auto* told = static_cast<const abi::AnimationFramesRecord*>(value);
        if (told->size < sizeof(abi::AnimationFramesRecord) ||
            told->version / 100 != abi::kAnimationFramesVersion / 100)
          return kWrongMajorVersion;
        context.animationFrames = *told;
        return kOk;
      }
      default:
        return kIndexOutOfRange;
    }
  });
}

int32_t LUMETRA_STDCALL RedrawFn(int32_t what, int32_t flags) {
  return WithContext([&](HostContext& context) {
    context.Log().redraws.emplace_back(what, flags);
    Changed(context);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetViewInfoFn(int32_t index, ViewRecord* view) {
  if (!view) return kNullRecord;
  if (view->version / 100 != kViewRecordVersion / 100) return kWrongMajorVersion;
  if (index < 0 || index >= kViewCount) return kIndexOutOfRange;
  return WithContext([&](HostContext& context) {
    const uint32_t version = view->version;
    *view = context.GetScene().views[static_cast<size_t>(index)];
    view->version = version;
    return kOk;
  });
}

int32_t LUMETRA_STDCALL SetViewInfoFn(int32_t index, const ViewRecord* view) {
  if (!view) return kNullRecord;
  if (view->version / 100 != kViewRecordVersion / 100) return kWrongMajorVersion;
  if (index < 0 || index >= kViewCount) return kIndexOutOfRange;
  return WithContext([&](HostContext& context) {
    ViewRecord& stored = context.GetScene().views[static_cast<size_t>(index)];
    stored = *view;
    stored.version = kViewRecordVersion;
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetPreviewInfoFn(int32_t index, PreviewRecord* preview) {
  if (!preview) return kNullRecord;
  if (preview->version / 100 != kPreviewRecordVersion / 100) return kWrongMajorVersion;
  if (index < 0 || index >= kViewCount) return kIndexOutOfRange;
  return WithContext([&](HostContext& context) {
    return FillPreview(context.GetScene().views[static_cast<size_t>(index)], *preview);
  });
}

int32_t LUMETRA_STDCALL GetRenderSettingsFn(int32_t selector, RenderSettingsRecord* settings) {
  if (!settings) return kNullRecord;
  if (settings->version / 100 != kRenderSettingsVersion / 100) return kWrongMajorVersion;
  if (selector != kRenderSettingsSelector) return kIndexOutOfRange;
  return WithContext([&](HostContext& context) { return FillRenderSettings(context.GetScene(), *settings); });
}

int32_t LUMETRA_STDCALL GetEnvironmentFn(EnvironmentRecord* environment) {
  if (!environment) return kNullRecord;
  if (environment->version / 100 != kEnvironmentVersion / 100) return kWrongMajorVersion;
  return WithContext([&](HostContext& context) {
    *environment = context.GetScene().environment;
    return kOk;
  });
}

int32_t LUMETRA_STDCALL ObjectChangedFn(uint32_t id, uint32_t what) {
  return WithObject(id, [&](HostContext& context, SceneObject&) {
    context.Log().changes.emplace_back(id, what);
    Changed(context);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL FindPluginFn(const InterfaceId* id, void** pluginInterface) {
  if (!id || !pluginInterface) return kNullRecord;
  *pluginInterface = FindPluginInterface(*id);
  return *pluginInterface ? kOk : kNotFound;
}

int32_t LUMETRA_STDCALL FindFileFn(int32_t kind, char* path) {
  if (!path) return kNullRecord;
  return WithContext([&](HostContext& context) -> int32_t {
    const size_t length = strnlen(path, kMaxPath);
    if (length == kMaxPath) return kRecordTooSmall;  // not terminated within the buffer
    const auto found = context.Finder().Find(kind, std::string(path, length));
    if (!found) return kNotFound;
    if (found->size() >= kMaxPath) return kRecordTooSmall;
    std::memcpy(path, found->c_str(), found->size() + 1);
    return kOk;
  });
}

// The arrays an object keeps beside its records, for the readers and writers below.
std::vector<ProfilePoint>& ProfileOf(SceneObject& o) { return o.profile; }
std::vector<BlobComponent>& BlobOf(SceneObject& o) { return o.blob; }
std::vector<double>& SplinePointsOf(SceneObject& o) { return o.splinePoints; }
std::vector<uint32_t>& SplinePatchesOf(SceneObject& o) { return o.splinePatches; }
std::vector<double>& VerticesOf(SceneObject& o) { return o.mesh.vertices; }
std::vector<double>& NormalsOf(SceneObject& o) { return o.mesh.normals; }
std::vector<double>& UvsOf(SceneObject& o) { return o.mesh.uvs; }
std::vector<uint32_t>& FacesOf(SceneObject& o) { return o.mesh.faces; }

// Reads items of `kWidth` values each from one of an object's arrays.
template <typename T, size_t kWidth, std::vector<T>& (*kArray)(SceneObject&)>
int32_t LUMETRA_STDCALL ReadArray(uint32_t id, uint32_t first, uint32_t count, T* out) {
  return WithObject(id, [&](HostContext&, SceneObject& object) {
    return CopyRange(kArray(object), kWidth, first, count, out);
  });
}

// Writes items of `kWidth` values each over a range of one of an object's arrays.
template <typename T, size_t kWidth, std::vector<T>& (*kArray)(SceneObject&)>
int32_t LUMETRA_STDCALL WriteArray(uint32_t id, uint32_t first, uint32_t count, const T* in) {
  return WithObject(id, [&](HostContext& context, SceneObject& object) {
    std::vector<T>& values = kArray(object);
    if (uint64_t{first} + count > values.size() / kWidth) return kIndexOutOfRange;
    if (count == 0) return kOk;
    if (!in) return kNullRecord;
    std::copy(in, in + size_t{count} * kWidth,
              values.begin() + static_cast<std::ptrdiff_t>(size_t{first} * kWidth));
    context.Log().arrayStores.push_back(id);
    return kOk;
  });
}

int32_t LUMETRA_STDCALL GetMeshInterfaceFn(uint32_t id, MeshRecord* record) {
  if (!record) return kNullRecord;
  if (record->size < sizeof(MeshRecord)) return kRecordTooSmall;
  if (record->version / 100 != kMeshRecordVersion / 100) return kWrongMajorVersion;
  return WithObject(id, [&](HostContext&, SceneObject& object) {
    const Mesh& mesh = object.mesh;
    if (mesh.faces.empty()) return kNotFound;
    record->object = id;
    record->vertexCount = mesh.VertexCount();
    record->normalCount = static_cast<uint32_t>(mesh.normals.size() / 3);
    record->uvCount = static_cast<uint32_t>(mesh.uvs.size() / 3);
    record->faceCount = mesh.FaceCount();
    record->readVertices = ReadArray<double, 3, VerticesOf>;
    record->readNormals = ReadArray<double, 3, NormalsOf>;
    record->readUvs = ReadArray<double, 3, UvsOf>;
    record->readFaces = ReadArray<uint32_t, 3, FacesOf>;
    return kOk;
  });
}

}  // namespace

void FillSceneRecord(SceneRecord& record) {
  record.getSelectedObject = GetSelectedObjectFn;
  record.findObjectByName = FindObjectByNameFn;
  record.setObjectParams = SetObjectParamsFn;
  record.getObjectParams = GetObjectParamsFn;
  record.setObjectInfo = SetObjectInfoFn;
  record.getObjectInfo = GetObjectInfoFn;
  record.openChildList = OpenChildListFn;
  record.getChild = GetChildFn;
  record.closeChildList = CloseChildListFn;
  record.renderWithPovRay = RenderWithPovRayFn;
  record.setUpdateMode = SetUpdateModeFn;
  record.refreshViews = RefreshViewsFn;
  record.getHostValue = GetHostValueFn;
  record.redraw = RedrawFn;
  record.getViewInfo = GetViewInfoFn;
  record.getPreviewInfo = GetPreviewInfoFn;
  record.getRenderSettings = GetRenderSettingsFn;
  record.getEnvironment = GetEnvironmentFn;
  record.setViewInfo = SetViewInfoFn;
  record.objectChanged = ObjectChangedFn;
  record.findPlugin = FindPluginFn;
  record.findFile = FindFileFn;
  record.getMeshInterface = GetMeshInterfaceFn;
  record.readProfilePoints = ReadArray<ProfilePoint, 1, ProfileOf>;
  record.readBlobComponents = ReadArray<BlobComponent, 1, BlobOf>;
  record.readSplinePoints = ReadArray<double, 3, SplinePointsOf>;
  record.readSplinePatches = ReadArray<uint32_t, 16, SplinePatchesOf>;
  record.writeProfilePoints = WriteArray<ProfilePoint, 1, ProfileOf>;
  record.writeSplinePoints = WriteArray<double, 3, SplinePointsOf>;
}

}  // namespace lumetra::host
