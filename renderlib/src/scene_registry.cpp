#include "scene_registry.h"

#include <mutex>
#include <unordered_map>

namespace lumetra::renderlib {
namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<L2Scene, std::unique_ptr<Scene>> scenes;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

L2Scene registerScene(std::unique_ptr<Scene> scene) {
  Registry& r = registry();
  const L2Scene handle = scene->handle();
  std::lock_guard lock(r.mutex);
  r.scenes.emplace(handle, std::move(scene));
  return handle;
}

Scene* findScene(L2Scene handle) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto it = r.scenes.find(handle);
  return it == r.scenes.end() ? nullptr : it->second.get();
}

std::unique_ptr<Scene> unregisterScene(L2Scene handle) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto it = r.scenes.find(handle);
  if (it == r.scenes.end()) return nullptr;
  std::unique_ptr<Scene> scene = std::move(it->second);
  r.scenes.erase(it);
  return scene;
}

}  // namespace lumetra::renderlib
