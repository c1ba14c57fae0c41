#pragma once

#include <cstdint>

#include "abi/object_info.h"
#include "abi/scene_record.h"

namespace lumetra::keyframe {

// An ObjectInfo with both of its blocks, for GetObjectInfo. The texture block is
// large and only texture nodes need it, so callers say which blocks they want.
struct ObjectRecord {
  abi::ObjectInfo info;
  abi::ObjectDataBlock data;
  abi::TextureBlock texture;

  ObjectRecord() = default;
  // Copies point at the copy's own blocks.
  ObjectRecord(const ObjectRecord& other) { *this = other; }
  ObjectRecord& operator=(const ObjectRecord& other);

  // Zeroes the record and attaches the object data block, and the texture block
  // when `withTexture` is set.
  void Prepare(bool withTexture);
};

// The host's scene functions as the keyframe model calls them. Every call answers
// the host's result (0 ok); without a connected record, or when the host left a
// function out, the call writes "Scene Functions not yet available\n" to the
// debug output and answers abi::kNoScene.
class HostScene {
 public:
  HostScene() = default;
  explicit HostScene(const abi::SceneRecord* record) : record_(record) {}

  bool Connected() const { return record_ != nullptr; }

  int32_t GetSelectedObject(uint32_t& id) const;
  int32_t FindObjectByName(const char* name, uint32_t& id) const;
  int32_t GetObjectParams(uint32_t id, abi::ParamRecord& params) const;
  int32_t SetObjectParams(uint32_t id, const abi::ParamRecord& params, uint32_t flags) const;
  int32_t GetObjectInfo(uint32_t id, abi::ObjectInfo& info) const;
  int32_t SetObjectInfo(uint32_t id, const abi::ObjectInfo& info, uint32_t flags) const;
  // Reads the object's ObjectInfo into a freshly prepared record.
  int32_t ReadObject(uint32_t id, ObjectRecord& record, bool withTexture) const;
  int32_t OpenChildList(uint32_t id, uint32_t& list) const;
  int32_t GetChild(uint32_t list, int32_t index, uint32_t& id) const;
  int32_t CloseChildList(uint32_t list) const;
  int32_t SetUpdateMode(int32_t mode) const;
  int32_t Redraw() const;
  // Has the host draw its views again (entry 348).
  int32_t RefreshViews() const;
  int32_t ObjectChanged(uint32_t id) const;
  int32_t GetHostValue(int32_t selector, void* value) const;
  int32_t GetViewInfo(int32_t index, abi::ViewRecord& view) const;
  int32_t SetViewInfo(int32_t index, const abi::ViewRecord& view) const;
  int32_t ReadProfilePoints(uint32_t id, uint32_t first, uint32_t count, abi::ProfilePoint* out) const;
  int32_t ReadSplinePoints(uint32_t id, uint32_t first, uint32_t count, double* out) const;
  int32_t WriteProfilePoints(uint32_t id, uint32_t first, uint32_t count,
                             const abi::ProfilePoint* points) const;
  int32_t WriteSplinePoints(uint32_t id, uint32_t first, uint32_t count, const double* points) const;

 private:
  // The host function in `slot`, or null (after the debug line) when it cannot be called.
  template <typename Function>
  Function Reach(Function abi::SceneRecord::*slot) const;

  const abi::SceneRecord* record_ = nullptr;
};

}  // namespace lumetra::keyframe
