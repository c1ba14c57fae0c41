#include "host/object_records.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "host/file_finder.h"

namespace lumetra::host {
namespace {

using namespace lumetra::abi;

int32_t CheckBlock(uint32_t size, uint32_t version, uint32_t wantedSize, uint32_t wantedVersion) {
  if (size < wantedSize) return kRecordTooSmall;
  if (version / 100 != wantedVersion / 100) return kWrongMajorVersion;
  return kOk;
}

int32_t CheckInfo(const ObjectInfo* info) {
  if (!info) return kNullRecord;
  int32_t result = CheckBlock(info->size, info->version, sizeof(ObjectInfo), kObjectInfoVersion);
  if (result == kOk && info->objectData) {
    result = CheckBlock(info->objectData->size, info->objectData->version, sizeof(ObjectDataBlock),
                        kObjectDataBlockVersion);
  }
  if (result == kOk && info->textureData) {
    result = CheckBlock(info->textureData->size, info->textureData->version, sizeof(TextureBlock),
                        kTextureBlockVersion);
  }
  return result;
}

// Copies a string into a fixed field, always terminated.
template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// Counts of arrays the host keeps beside the record; a caller's block cannot change them.
void KeepHostCounts(const ObjectDataBlock& before, SceneObject& object) {
  switch (object.type) {
    case kTypeSweep:
    case kTypeLathe:
    case kTypeExtrusion:
      object.data.shape.profile.pointCount = before.shape.profile.pointCount;
      break;
    case kTypeBlob:
      object.data.shape.blob.componentCount = before.shape.blob.componentCount;
      break;
    case kTypeSplineMesh:
      object.data.shape.splineMesh.pointCount = before.shape.splineMesh.pointCount;
      object.data.shape.splineMesh.patchCount = before.shape.splineMesh.patchCount;
      break;
    default:
      break;
  }
}

}  // namespace

int32_t FillObjectInfo(const SceneObject& object, ObjectInfo* info) {
  const int32_t result = CheckInfo(info);
  if (result != kOk) return result;
  info->type = object.type;
  CopyText(info->name, object.name);
  info->next = object.parent;  // the chain climbs to the enclosing objects
  info->flags = object.flags;
  info->parent = object.parent;
  info->linkA = object.linkA;
  info->linkB = object.linkB;
  info->childCount = static_cast<uint32_t>(object.children.size());
  CopyText(info->textureName, object.textureName);
  if (info->objectData) *info->objectData = object.data;
  if (info->textureData) {
    *info->textureData = object.node;
    info->textureData->childCount = info->childCount;
  }
  return kOk;
}

int32_t StoreObjectInfo(const ObjectInfo* info, SceneObject& object) {
  const int32_t result = CheckInfo(info);
  if (result != kOk) return result;
  object.name = FieldText(info->name);
  object.flags = info->flags;
  object.textureName = FieldText(info->textureName);
  if (info->objectData) {
    const ObjectDataBlock before = object.data;
    object.data = *info->objectData;
    object.data.size = sizeof(ObjectDataBlock);
    object.data.version = kObjectDataBlockVersion;
    KeepHostCounts(before, object);
  }
  if (info->textureData && object.type == kTypeTextureNode) {
    object.node.params = info->textureData->params;
  }
  return kOk;
}

int32_t FillRenderSettings(const Scene& scene, RenderSettingsRecord& settings) {
  const uint32_t version = settings.version;
  settings = scene.render;
  settings.version = version;
  settings.selector = kRenderSettingsSelector;
  namespace fs = std::filesystem;
  std::string directory = FieldText(scene.render.outputDirectory);
  if (!directory.empty() && fs::path(directory).is_relative()) {
    directory = (fs::path(FolderOf(scene.path)) / directory).lexically_normal().string();
  }
  if (!directory.empty() && directory.back() != '/') directory += '/';
  if (directory.size() >= sizeof settings.outputDirectory || scene.path.size() >= sizeof settings.sceneFile) {
    return kRecordTooSmall;
  }
  CopyText(settings.outputDirectory, directory);
  CopyText(settings.sceneFile, scene.path);
  return kOk;
}

int32_t FillPreview(const ViewRecord& view, PreviewRecord& preview) {
  preview.capable = 0;
  preview.width = static_cast<uint32_t>(std::max(0, view.right - view.left));
  preview.height = static_cast<uint32_t>(std::max(0, view.bottom - view.top));
  preview.aspect =
      preview.height ? static_cast<float>(preview.width) / static_cast<float>(preview.height) : 1.0f;
  preview.window = view.window;
  preview.putPixel = nullptr;
  preview.changed = nullptr;
  return kOk;
}

}  // namespace lumetra::host
