#include "host/scene_relocation.h"

#include <cstring>
#include <filesystem>

#include "host/file_finder.h"
#include "host/scene_file.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

fs::path Absolute(const fs::path& path) { return fs::absolute(path).lexically_normal(); }

class Relocation {
 public:
  Relocation(const std::string& from, const std::string& to) : from_(Absolute(from)), to_(Absolute(to)) {}

  bool Moves() const { return from_ != to_; }

  // A folder named relative to the old one, named relative to the new one.
  std::string Folder(const std::string& name) const {
    if (name.empty() || fs::path(name).is_absolute()) return name;
    return (from_ / name).lexically_normal().lexically_relative(to_).generic_string();
  }

  // A file that lies where the name says from the old folder; other names stay.
  std::string File(const std::string& name) const {
    if (name.empty() || fs::path(name).is_absolute() || !fs::exists(from_ / name)) return name;
    return Folder(name);
  }

  template <size_t N>
  void File(char (&field)[N], const char* what) const {
    Store(field, File(std::string(field, strnlen(field, N))), what);
  }

  template <size_t N>
  static void Store(char (&field)[N], const std::string& name, const char* what) {
    if (name.size() >= N) {
      throw SceneFileError(std::string(what) + " \"" + name +
                           "\" is too long for the scene saved in its new folder");
    }
    std::memset(field, 0, N);
    std::memcpy(field, name.data(), name.size());
  }

 private:
  fs::path from_, to_;
};

void RelocateObject(SceneObject& object, const Relocation& relocation) {
  auto& shape = object.data.shape;
  switch (object.type) {
    case abi::kTypeHeightField:
      relocation.File(shape.heightField.image, "the height field's image");
      break;
    case abi::kTypeText:
      relocation.File(shape.text.font, "the text's font");
      break;
    case abi::kTypeMeshFile:
      relocation.File(shape.meshFile.file, "the mesh file");
      break;
    case abi::kTypePluginObject:
      relocation.File(shape.pluginObject.image, "the plug-in object's image");
      break;
    case abi::kTypeTextureNode:
      if (object.node.kind == abi::kNodeImageMap || object.node.kind == abi::kNodeBumpMap ||
          object.node.kind == abi::kNodeMaterialMap) {
        relocation.File(object.node.params.image.file, "the image file");
      }
      break;
    default:
      break;
  }
  object.meshSource = relocation.File(object.meshSource);
}

}  // namespace

void RelocateReferences(Scene& scene, const std::string& folder) {
  const Relocation relocation(FolderOf(scene.path), folder);
  if (!relocation.Moves()) return;
  for (const uint32_t id : scene.AllObjects()) RelocateObject(*scene.Find(id), relocation);
  for (std::string& path : scene.searchPaths) path = relocation.Folder(path);
  const abi::RenderSettingsRecord& render = scene.render;
  const std::string output(render.outputDirectory,
                           strnlen(render.outputDirectory, sizeof render.outputDirectory));
  Relocation::Store(scene.render.outputDirectory, relocation.Folder(output), "the output folder");
}

}  // namespace lumetra::host
