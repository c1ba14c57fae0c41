#include "scene.h"

namespace lumetra::renderlib {

uint32_t newHandle() {
  static std::atomic<uint32_t> counter{0};
  uint32_t handle;
  do {
    handle = ++counter;
  } while (handle == 0);
  return handle;
}

namespace {

template <class Item>
Item* find(const std::unordered_map<uint32_t, std::unique_ptr<Item>>& table, uint32_t handle) {
  const auto it = table.find(handle);
  return it == table.end() ? nullptr : it->second.get();
}

template <class Item>
uint32_t file(std::unordered_map<uint32_t, std::unique_ptr<Item>>& table, std::unique_ptr<Item> item) {
  const uint32_t handle = newHandle();
  table.emplace(handle, std::move(item));
  return handle;
}

}  // namespace

Scene::~Scene() {
  for (uint32_t handle : owner_order_) {
    if (const Texture* t = texture(handle); t && t->release) t->release(t->object);
    if (const Volume* v = volume(handle); v && v->release) v->release(v->object);
  }
}

Primitive* Scene::primitive(uint32_t handle) const { return find(primitive_table_, handle); }
Light* Scene::light(uint32_t handle) const { return find(light_table_, handle); }
Texture* Scene::texture(uint32_t handle) const { return find(texture_table_, handle); }
View* Scene::view(uint32_t handle) const { return find(view_table_, handle); }
Volume* Scene::volume(uint32_t handle) const { return find(volume_table_, handle); }

Placement* Scene::placement(uint32_t handle) const {
  if (Primitive* p = primitive(handle)) return &p->placement;
  if (Light* l = light(handle)) return &l->placement;
  if (Texture* t = texture(handle)) return &t->placement;
  return nullptr;
}

uint32_t Scene::add(std::unique_ptr<Primitive> primitive) {
  primitive_order_.reserve(primitive_order_.size() + 1);
  Primitive* raw = primitive.get();
  const uint32_t handle = file(primitive_table_, std::move(primitive));
  primitive_order_.emplace_back(handle, raw);
  return handle;
}

uint32_t Scene::add(std::unique_ptr<Light> light) {
  light_order_.reserve(light_order_.size() + 1);
  Light* raw = light.get();
  const uint32_t handle = file(light_table_, std::move(light));
  light_order_.push_back(raw);
  return handle;
}

uint32_t Scene::add(std::unique_ptr<Texture> texture) {
  owner_order_.reserve(owner_order_.size() + 1);
  const bool owns = texture->kind == Texture::Kind::kUser;
  const uint32_t handle = file(texture_table_, std::move(texture));
  if (owns) owner_order_.push_back(handle);
  return handle;
}

uint32_t Scene::add(std::unique_ptr<View> view) { return file(view_table_, std::move(view)); }

uint32_t Scene::add(std::unique_ptr<Volume> volume) {
  owner_order_.reserve(owner_order_.size() + 1);
  const uint32_t handle = file(volume_table_, std::move(volume));
  owner_order_.push_back(handle);
  return handle;
}

}  // namespace lumetra::renderlib
