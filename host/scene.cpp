#include "host/scene.h"

#include <cstring>
#include <stdexcept>

#include "abi/scene_record.h"
#include "host/record_fields.h"

namespace lumetra::host {
namespace {

abi::ParamRecord IdentityParams() {
  abi::ParamRecord params{};
  params.version = abi::kParamRecordVersion;
  for (int axis = 0; axis < 3; ++axis) {
    params.scale[axis] = 1;
    params.localScale[axis] = 1;
  }
  return params;
}

}  // namespace

std::array<abi::ViewRecord, abi::kViewCount> DefaultViews() {
  static constexpr const char* kNames[] = {"Top", "Front", "Side", "Camera"};
  std::array<abi::ViewRecord, abi::kViewCount> views{};
  for (int index = 0; index < abi::kViewCount; ++index) {
    abi::ViewRecord& view = views[index];
    ApplyDefaults(ViewFields(), reinterpret_cast<std::byte*>(&view));
    view.version = abi::kViewRecordVersion;
    std::strncpy(view.name, kNames[index], sizeof view.name - 1);
    view.projection = static_cast<uint32_t>(index);
    // Two by two: 0 top left, 1 bottom left, 2 top right, 3 bottom right.
    const int32_t halfWidth = static_cast<int32_t>(view.areaWidth / 2);
    const int32_t halfHeight = static_cast<int32_t>(view.areaHeight / 2);
    view.left = index < 2 ? 0 : halfWidth;
    view.top = index % 2 == 0 ? 0 : halfHeight;
    view.right = view.left + halfWidth;
    view.bottom = view.top + halfHeight;
  }
  return views;
}

Scene::Scene() : views(DefaultViews()) {
  render.version = abi::kRenderSettingsVersion;
  ApplyDefaults(RenderSettingsFields(), reinterpret_cast<std::byte*>(&render));
  environment.version = abi::kEnvironmentVersion;
  ApplyDefaults(EnvironmentFields(), reinterpret_cast<std::byte*>(&environment));
}

SceneObject& Scene::Add(uint32_t type, uint32_t list, uint32_t parent) {
  if (list >= lists_.size()) throw std::out_of_range("no scene list " + std::to_string(list));
  SceneObject* parentObject = parent ? Find(parent) : nullptr;
  if (parent && !parentObject) throw std::out_of_range("no object " + std::to_string(parent));
  SceneObject& object = objects_.emplace_back();
  object.id = static_cast<uint32_t>(objects_.size());
  object.type = type;
  object.parent = parent;
  object.params = IdentityParams();
  object.data.size = sizeof(abi::ObjectDataBlock);
  object.data.version = abi::kObjectDataBlockVersion;
  for (int axis = 0; axis < 3; ++axis) object.data.textureScale[axis] = 1;
  object.node.size = sizeof(abi::TextureBlock);
  object.node.version = abi::kTextureBlockVersion;
  (parentObject ? parentObject->children : lists_[list]).push_back(object.id);
  return object;
}

std::optional<size_t> MaterialIndex(const Scene& scene, const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::vector<uint32_t>& materials = scene.List(abi::kMaterialList);
  for (size_t i = 0; i < materials.size(); ++i) {
    const SceneObject* material = scene.Find(materials[i]);
    if (material && material->name == name) return i;
  }
  return std::nullopt;
}

SceneObject* Scene::Find(uint32_t id) {
  return id >= 1 && id <= objects_.size() ? &objects_[id - 1] : nullptr;
}

const SceneObject* Scene::Find(uint32_t id) const {
  return id >= 1 && id <= objects_.size() ? &objects_[id - 1] : nullptr;
}

const SceneObject* Scene::FindByName(const std::string& name) const {
  for (uint32_t id : AllObjects()) {
    const SceneObject* object = Find(id);
    if (object->name == name) return object;
  }
  return nullptr;
}

const std::vector<uint32_t>& Scene::List(uint32_t list) const {
  static const std::vector<uint32_t> kEmpty;
  return list < lists_.size() ? lists_[list] : kEmpty;
}

std::vector<uint32_t> Scene::AllObjects() const {
  std::vector<uint32_t> out;
  out.reserve(objects_.size());
  for (const auto& list : lists_) {
    for (uint32_t id : list) Walk(id, out);
  }
  return out;
}

void Scene::Walk(uint32_t id, std::vector<uint32_t>& out) const {
  out.push_back(id);
  for (uint32_t child : Find(id)->children) Walk(child, out);
}

}  // namespace lumetra::host
