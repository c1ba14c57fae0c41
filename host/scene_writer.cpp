#include <filesystem>

#include "abi/scene_record.h"
#include "host/field_io.h"
#include "host/file_finder.h"
#include "host/scene_file.h"
#include "host/scene_relocation.h"
#include "platform/base64.h"
#include "platform/file_io.h"

namespace lumetra::host {
namespace {

using nlohmann::json;

const std::byte* Bytes(const void* record) { return static_cast<const std::byte*>(record); }

json Triples(const std::vector<double>& values, size_t width) {
  json out = json::array();
  for (size_t i = 0; i + 2 < values.size(); i += 3) {
    out.push_back(std::vector<double>(values.begin() + static_cast<std::ptrdiff_t>(i),
                                      values.begin() + static_cast<std::ptrdiff_t>(i + width)));
  }
  return out;
}

json Tuples(const std::vector<uint32_t>& values, size_t width) {
  json out = json::array();
  for (size_t i = 0; i + width <= values.size(); i += width) {
    out.push_back(std::vector<uint32_t>(values.begin() + static_cast<std::ptrdiff_t>(i),
                                        values.begin() + static_cast<std::ptrdiff_t>(i + width)));
  }
  return out;
}

const char* TextureLockName(uint32_t flags) {
  switch (flags & abi::kFlagTextureLockMask) {
    case abi::kFlagTextureLock:
      return "object";
    case abi::kFlagTextureLockAncestors:
      return "tree";
    default:
      return "none";
  }
}

class SceneWriter {
 public:
  explicit SceneWriter(const Scene& scene) : scene_(scene) {}

  json Write() const {
    json root = {{"format", kSceneFormatName}, {"version", kSceneFormatVersion}};
    root["render"] = Record(RenderSettingsFields(), &scene_.render);
    root["environment"] = Record(EnvironmentFields(), &scene_.environment);
    root["views"] = json::array();
    for (const auto& view : scene_.views) root["views"].push_back(Record(ViewFields(), &view));
    root["search_paths"] = scene_.searchPaths;
    for (const auto& [key, list] :
         {std::pair{"objects", abi::kObjectList}, std::pair{"cameras", abi::kCameraList},
          std::pair{"materials", abi::kMaterialList}}) {
      root[key] = json::array();
      for (uint32_t id : scene_.List(list)) root[key].push_back(Entry(*scene_.Find(id)));
    }
    if (const SceneObject* selected = scene_.Find(scene_.selected)) root["selected"] = selected->name;
    root["plugin_data"] = json::array();
    for (const PluginChunk& chunk : scene_.pluginChunks) {
      root["plugin_data"].push_back(
          {{"plugin", chunk.plugin}, {"data", platform::EncodeBase64(chunk.bytes)}});
    }
    if (!scene_.keying.empty()) root["keying"] = KeyingScriptToJson(scene_.keying);
    return root;
  }

 private:
  static json Record(FieldList fields, const void* record) {
    json out = json::object();
    WriteFields(fields, Bytes(record), out);
    return out;
  }

  json Entry(const SceneObject& object) const {
    return object.type == abi::kTypeTextureNode ? Node(object) : Object(object);
  }

  json Node(const SceneObject& object) const {
    const NodeKindLayout* layout = FindNodeKind(object.node.kind);
    json out = {{"kind", layout->name}};
    if (!object.name.empty()) out["name"] = object.name;
    WriteFields(layout->fields, Bytes(&object.node), out);
    WriteFields(layout->extraFields, Bytes(&object.node), out);
    Children(object, out);
    return out;
  }

  json Object(const SceneObject& object) const {
    const ObjectTypeLayout* layout = FindObjectType(object.type);
    json out = {{"type", layout->name}};
    if (!object.name.empty()) out["name"] = object.name;
    WriteFields(layout->dataFields, Bytes(&object.data), out);
    WriteFields(layout->extraFields, Bytes(&object.data), out);
    WriteFields(layout->paramFields, Bytes(&object.params), out);
    if (layout->place == ObjectPlace::kCamera) {
      Link(out, "location_object", object.linkA);
      Link(out, "look_at_object", object.linkB);
    } else {
      Placement(object, out);
    }
    if (object.type == abi::kTypeClone) Link(out, "source", object.linkA);
    Arrays(object, *layout, out);
    if (layout->hasChildren) Children(object, out);
    return out;
  }

  void Link(json& out, const char* key, uint32_t id) const {
    if (const SceneObject* target = scene_.Find(id)) out[key] = target->name;
  }

  static void Placement(const SceneObject& object, json& out) {
    const abi::ParamRecord& params = object.params;
    out["transform"] = WriteTransform(params.scale, params.rotate, params.translate);
    if (params.hasLocal) {
      out["local_transform"] = WriteTransform(params.localScale, params.localRotate, params.localTranslate);
    }
    out["texture_transform"] =
        WriteTransform(object.data.textureScale, object.data.textureRotate, object.data.textureTranslate);
    out["render"] = (object.flags & abi::kFlagRender) != 0;
    out["no_shadows"] = (object.flags & abi::kFlagNoShadows) != 0;
    out["texture_lock"] = TextureLockName(object.flags);
    if (!object.textureName.empty()) out["texture"] = object.textureName;
  }

  static void Arrays(const SceneObject& object, const ObjectTypeLayout& layout, json& out) {
    switch (layout.arrays) {
      case ObjectArrays::kNone:
        return;
      case ObjectArrays::kProfile: {
        out["points"] = json::array();
        json corners = json::array();
        for (size_t i = 0; i + 1 < object.profile.size(); ++i) {  // without the closing point
          const abi::ProfilePoint& point = object.profile[i];
          out["points"].push_back({point.x, point.y, point.z});
          if (point.flags & abi::kProfilePointCorner) corners.push_back(i);
        }
        if (!corners.empty()) out["corners"] = corners;
        return;
      }
      case ObjectArrays::kBlob:
        out["components"] = json::array();
        for (const abi::BlobComponent& component : object.blob) {
          json entry;
          if (component.kind == 1) {
            entry = {{"kind", "sphere"}, {"centre", component.a}};
          } else {
            entry = {{"kind", "cylinder"}, {"from", component.a}, {"to", component.b}};
          }
          entry["radius"] = component.radius;
          entry["strength"] = component.strength;
          out["components"].push_back(entry);
        }
        return;
      case ObjectArrays::kSplineMesh:
        out["points"] = Triples(object.splinePoints, 3);
        out["patches"] = Tuples(object.splinePatches, 16);
        return;
      case ObjectArrays::kMesh:
        MeshArrays(object, out);
        return;
    }
  }

  static void MeshArrays(const SceneObject& object, json& out) {
    const bool fromFile = object.type == abi::kTypeMeshFile ||
                          (object.type == abi::kTypePluginObject && object.mesh.faces.empty());
    if (fromFile) return;
    if (!object.meshSource.empty()) {
      out["obj"] = object.meshSource;
      return;
    }
    out["vertices"] = Triples(object.mesh.vertices, 3);
    out["faces"] = Tuples(object.mesh.faces, 3);
    if (!object.mesh.normals.empty()) out["normals"] = Triples(object.mesh.normals, 3);
    if (!object.mesh.uvs.empty()) out["uvs"] = Triples(object.mesh.uvs, 3);
  }

  void Children(const SceneObject& object, json& out) const {
    out["children"] = json::array();
    for (uint32_t child : object.children) out["children"].push_back(Entry(*scene_.Find(child)));
  }

  const Scene& scene_;
};

}  // namespace

json SceneToJson(const Scene& scene) { return SceneWriter(scene).Write(); }

void SaveScene(const Scene& scene, const std::string& path) {
  Scene saved = scene;
  RelocateReferences(saved, FolderOf(path));
  const std::string text = SceneToJson(saved).dump(2) + "\n";
  if (const std::error_code error = platform::WriteFileAtomically(path, text)) {
    throw SceneFileError(path + ": cannot save the file: " + error.message());
  }
}

}  // namespace lumetra::host
