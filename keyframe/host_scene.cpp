#include "keyframe/host_scene.h"

#include "abi/result_codes.h"
#include "platform/debug_log.h"

namespace lumetra::keyframe {

void ObjectRecord::Prepare(bool withTexture) {
  abi::PrepareObjectInfo(info, &data, withTexture ? &texture : nullptr);
}

ObjectRecord& ObjectRecord::operator=(const ObjectRecord& other) {
  if (this == &other) return *this;
  info = other.info;
  data = other.data;
  texture = other.texture;
  info.objectData = other.info.objectData ? &data : nullptr;
  info.textureData = other.info.textureData ? &texture : nullptr;
  return *this;
}

template <typename Function>
Function HostScene::Reach(Function abi::SceneRecord::*slot) const {
  Function function = record_ ? record_->*slot : nullptr;
  if (!function) platform::DebugLog::Write("Scene Functions not yet available\n");
  return function;
}

// Calls the host function in `slot` with `args`, or answers kNoScene.
#define LUMETRA_HOST_CALL(slot, ...)                    \
  if (auto function = Reach(&abi::SceneRecord::slot)) { \
    return function(__VA_ARGS__);                       \
  }                                                     \
  return abi::kNoScene

int32_t HostScene::GetSelectedObject(uint32_t& id) const {
  id = 0;
  LUMETRA_HOST_CALL(getSelectedObject, &id);
}

int32_t HostScene::FindObjectByName(const char* name, uint32_t& id) const {
  id = 0;
  LUMETRA_HOST_CALL(findObjectByName, name, &id);
}

int32_t HostScene::GetObjectParams(uint32_t id, abi::ParamRecord& params) const {
  params.version = abi::kParamRecordVersion;
  LUMETRA_HOST_CALL(getObjectParams, id, &params);
}

int32_t HostScene::SetObjectParams(uint32_t id, const abi::ParamRecord& params, uint32_t flags) const {
  LUMETRA_HOST_CALL(setObjectParams, id, &params, flags);
}

int32_t HostScene::GetObjectInfo(uint32_t id, abi::ObjectInfo& info) const {
  LUMETRA_HOST_CALL(getObjectInfo, id, &info);
}

int32_t HostScene::SetObjectInfo(uint32_t id, const abi::ObjectInfo& info, uint32_t flags) const {
  LUMETRA_HOST_CALL(setObjectInfo, id, &info, flags);
}

int32_t HostScene::ReadObject(uint32_t id, ObjectRecord& record, bool withTexture) const {
  record.Prepare(withTexture);
  return GetObjectInfo(id, record.info);
}

int32_t HostScene::OpenChildList(uint32_t id, uint32_t& list) const {
  LUMETRA_HOST_CALL(openChildList, id, &list);
}

int32_t HostScene::GetChild(uint32_t list, int32_t index, uint32_t& id) const {
  LUMETRA_HOST_CALL(getChild, list, index, &id);
}

int32_t HostScene::CloseChildList(uint32_t list) const { LUMETRA_HOST_CALL(closeChildList, list); }

int32_t HostScene::SetUpdateMode(int32_t mode) const { LUMETRA_HOST_CALL(setUpdateMode, mode); }

int32_t HostScene::Redraw() const { LUMETRA_HOST_CALL(redraw, 1, 0); }

int32_t HostScene::RefreshViews() const { LUMETRA_HOST_CALL(refreshViews); }

int32_t HostScene::ObjectChanged(uint32_t id) const {
  constexpr uint32_t kPosed = 16;
  LUMETRA_HOST_CALL(objectChanged, id, kPosed);
}

int32_t HostScene::GetHostValue(int32_t selector, void* value) const {
  LUMETRA_HOST_CALL(getHostValue, selector, value);
}

int32_t HostScene::GetViewInfo(int32_t index, abi::ViewRecord& view) const {
  view.version = abi::kViewRecordVersion;
  LUMETRA_HOST_CALL(getViewInfo, index, &view);
}

int32_t HostScene::SetViewInfo(int32_t index, const abi::ViewRecord& view) const {
  LUMETRA_HOST_CALL(setViewInfo, index, &view);
}

int32_t HostScene::ReadProfilePoints(uint32_t id, uint32_t first, uint32_t count,
                                     abi::ProfilePoint* out) const {
  LUMETRA_HOST_CALL(readProfilePoints, id, first, count, out);
}

int32_t HostScene::ReadSplinePoints(uint32_t id, uint32_t first, uint32_t count, double* out) const {
  LUMETRA_HOST_CALL(readSplinePoints, id, first, count, out);
}

int32_t HostScene::WriteProfilePoints(uint32_t id, uint32_t first, uint32_t count,
                                      const abi::ProfilePoint* points) const {
  LUMETRA_HOST_CALL(writeProfilePoints, id, first, count, points);
}

int32_t HostScene::WriteSplinePoints(uint32_t id, uint32_t first, uint32_t count,
                                     const double* points) const {
  LUMETRA_HOST_CALL(writeSplinePoints, id, first, count, points);
}

#undef LUMETRA_HOST_CALL

}  // namespace lumetra::keyframe
