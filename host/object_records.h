#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "abi/preview_record.h"
#include "abi/render_settings_record.h"
#include "abi/result_codes.h"
#include "abi/view_record.h"
#include "host/scene.h"

namespace lumetra::host {

// Fills a caller-prepared ObjectInfo (size, version and the two optional blocks checked
// first) from the object. Answers a result code.
int32_t FillObjectInfo(const SceneObject& object, abi::ObjectInfo* info);

// Takes a caller's ObjectInfo back into the object: name, flag word, texture name and
// whatever blocks it carries. The type, links and host-kept counts stay the host's.
int32_t StoreObjectInfo(const abi::ObjectInfo* info, SceneObject& object);

// The render settings with the scene's file and its output folder resolved against
// the scene's folder.
int32_t FillRenderSettings(const Scene& scene, abi::RenderSettingsRecord& settings);

// This host's views cannot show a render while it runs: answers ok, not capable.
int32_t FillPreview(const abi::ViewRecord& view, abi::PreviewRecord& preview);

// Copies `count` items of `width` values from item `first` of `values` to `out`.
template <typename T>
int32_t CopyRange(const std::vector<T>& values, size_t width, uint32_t first, uint32_t count, T* out) {
  const uint64_t items = values.size() / width;
  if (uint64_t{first} + count > items) return abi::kIndexOutOfRange;
  if (count == 0) return abi::kOk;
  if (!out) return abi::kNullRecord;
  std::memcpy(out, values.data() + size_t{first} * width, size_t{count} * width * sizeof(T));
  return abi::kOk;
}

}  // namespace lumetra::host
