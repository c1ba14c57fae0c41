#include "host/scene_relocation.h"

#include <cstring>
#include <filesystem>

#include "abi/scene_record.h"
#include "host/file_finder.h"
#include "host/scene_file.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

fs::path Absolute(const fs::path& path) { return fs::absolute(path).lexically_normal(); }

template <size_t N>
void Store(char (&field)[N], const std::string& name, const char* what) {
  if (name.size() >= N) {
    throw SceneFileError(std::string(what) + " \"" + name +
                         "\" is too long for the scene saved in its new folder");
  }
  std::memset(field, 0, N);
  std::memcpy(field, name.data(), name.size());
}

template <size_t N>
void Rewrite(char (&field)[N], int32_t kind, const char* what, const FileNameRewrite& rewrite) {
  const std::string name(field, strnlen(field, N));
  if (!name.empty()) Store(field, rewrite(kind, name), what);
}

void RewriteObject(SceneObject& object, const FileNameRewrite& rewrite) {
  auto& shape = object.data.shape;
  switch (object.type) {
    case abi::kTypeHeightField:
      Rewrite(shape.heightField.image, abi::kFindHeightField, "the height field's image", rewrite);
      break;
    case abi::kTypeText:
      Rewrite(shape.text.font, abi::kFindFont, "the text's font", rewrite);
      break;
    case abi::kTypeMeshFile:
      Rewrite(shape.meshFile.file, abi::kFindMeshFile, "the mesh file", rewrite);
      break;
    case abi::kTypePluginObject:
      Rewrite(shape.pluginObject.image, abi::kFindHeightField, "the plug-in object's image", rewrite);
      break;
    case abi::kTypeTextureNode:
      if (object.node.kind == abi::kNodeImageMap || object.node.kind == abi::kNodeBumpMap ||
          object.node.kind == abi::kNodeMaterialMap) {
        Rewrite(object.node.params.image.file,
                object.node.kind == abi::kNodeBumpMap ? abi::kFindBumpMap : abi::kFindImageMap,
                "the image file", rewrite);
      }
      break;
    default:
      break;
  }
  if (!object.meshSource.empty()) object.meshSource = rewrite(abi::kFindMeshFile, object.meshSource);
}

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

 private:
  fs::path from_, to_;
};

}  // namespace

void RewriteFileNames(Scene& scene, const FileNameRewrite& rewrite) {
  for (const uint32_t id : scene.AllObjects()) RewriteObject(*scene.Find(id), rewrite);
}

void RelocateReferences(Scene& scene, const std::string& folder) {
  const Relocation relocation(FolderOf(scene.path), folder);
  if (!relocation.Moves()) return;
  RewriteFileNames(scene, [&](int32_t, const std::string& name) { return relocation.File(name); });
  for (std::string& path : scene.searchPaths) path = relocation.Folder(path);
  const abi::RenderSettingsRecord& render = scene.render;
  const std::string output(render.outputDirectory,
                           strnlen(render.outputDirectory, sizeof render.outputDirectory));
  Store(scene.render.outputDirectory, relocation.Folder(output), "the output folder");
}

}  // namespace lumetra::host
