#include "host/scene_merge.h"

#include <algorithm>
#include <map>
#include <set>

#include "abi/scene_record.h"
#include "host/file_finder.h"
#include "host/scene_relocation.h"

namespace lumetra::host {
namespace {

class Merger {
 public:
  Merger(Scene& scene, const Scene& other) : scene_(scene), other_(other) {
    for (const uint32_t id : scene.AllObjects()) taken_.insert(scene.Find(id)->name);
  }

  void CopyList(uint32_t list) {
    for (const uint32_t id : other_.List(list)) {
      if (list == abi::kMaterialList && HasMaterial(other_.Find(id)->name)) continue;
      Copy(id, list, 0, list != abi::kMaterialList);
    }
  }

  // Links name objects of the merged file; they point at the copies now.
  std::vector<MergedObject> Finish() {
    for (const auto& [from, to] : ids_) {
      SceneObject& object = *scene_.Find(to);
      object.linkA = NewId(object.linkA);
      object.linkB = NewId(object.linkB);
    }
    return std::move(merged_);
  }

 private:
  void Copy(uint32_t id, uint32_t list, uint32_t parent, bool tracked) {
    const SceneObject& from = *other_.Find(id);
    SceneObject& to = scene_.Add(from.type, list, parent);
    const uint32_t newId = to.id;
    to = from;
    to.id = newId;
    to.parent = parent;
    to.children.clear();  // Add below files the copies
    ids_[id] = newId;
    if (tracked) {
      to.name = FreeName(from.name);
      merged_.push_back({newId, from.name, to.name});
    }
    for (const uint32_t child : from.children) Copy(child, list, newId, tracked);
  }

  bool HasMaterial(const std::string& name) const {
    const auto& materials = scene_.List(abi::kMaterialList);
    return std::any_of(materials.begin(), materials.end(),
                       [&](uint32_t id) { return scene_.Find(id)->name == name; });
  }

  std::string FreeName(const std::string& name) {
    std::string free = name;
    for (int number = 2; !name.empty() && taken_.contains(free); ++number) {
      free = name + " " + std::to_string(number);
    }
    taken_.insert(free);
    return free;
  }

  uint32_t NewId(uint32_t old) const {
    const auto found = ids_.find(old);
    return found == ids_.end() ? 0 : found->second;
  }

  Scene& scene_;
  const Scene& other_;
  std::set<std::string> taken_;
  std::map<uint32_t, uint32_t> ids_;
  std::vector<MergedObject> merged_;
};

}  // namespace

std::vector<MergedObject> MergeScene(Scene& scene, Scene other) {
  RelocateReferences(other, FolderOf(scene.path));
  for (const std::string& path : other.searchPaths) {
    if (std::find(scene.searchPaths.begin(), scene.searchPaths.end(), path) == scene.searchPaths.end())
      scene.searchPaths.push_back(path);
  }
  Merger merger(scene, other);
  merger.CopyList(abi::kMaterialList);
  merger.CopyList(abi::kObjectList);
  merger.CopyList(abi::kCameraList);
  return merger.Finish();
}

}  // namespace lumetra::host
