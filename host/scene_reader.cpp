#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "abi/scene_record.h"
#include "host/field_io.h"
#include "host/file_finder.h"
#include "host/obj_mesh.h"
#include "host/scene_file.h"
#include "platform/base64.h"
#include "platform/file_io.h"

namespace lumetra::host {
namespace {

using nlohmann::json;

constexpr size_t kMaxFileSize = 64u << 20;
constexpr int kMaxDepth = 64;

constexpr NamedValue kTextureLocks[] = {
    {"none", 0}, {"object", abi::kFlagTextureLock}, {"tree", abi::kFlagTextureLockAncestors}};

std::byte* Bytes(void* record) { return static_cast<std::byte*>(record); }

std::string Index(const std::string& place, size_t index) { return place + "/" + std::to_string(index); }

const json& ArrayAt(const json& object, const char* key, const std::string& place) {
  const json& value = object.at(key);
  if (!value.is_array()) {
    throw FieldError(place + "/" + key, "expected an array, got " + TypeName(value));
  }
  return value;
}

// A name that must be resolved once the whole file is read.
struct Link {
  enum What { kTexture, kSource, kLocationObject, kLookAtObject } what;
  uint32_t id;
  std::string name;
  std::string place;
};

// A file the scene needs: found through the scene's folders, a mesh also read.
struct FileUse {
  uint32_t id;
  int32_t kind;
  std::string name;
  std::string place;
  bool mesh;
};

class SceneReader {
 public:
  explicit SceneReader(const std::string& path) { scene_.path = path; }

  Scene Read(const json& root) {
    if (!root.is_object()) throw FieldError("", "expected a scene object, got " + TypeName(root));
    std::set<std::string> used{"format", "version"};
    CheckFormat(root);
    Section(root, "render", used, [&](const json& v, const std::string& p) {
      ReadRecord(v, p, RenderSettingsFields(), Bytes(&scene_.render));
    });
    Section(root, "environment", used, [&](const json& v, const std::string& p) {
      ReadRecord(v, p, EnvironmentFields(), Bytes(&scene_.environment));
    });
    Section(root, "views", used, [&](const json& v, const std::string& p) { ReadViews(v, p); });
    Section(root, "search_paths", used, [&](const json& v, const std::string& p) { ReadSearchPaths(v, p); });
    Section(root, "objects", used,
            [&](const json& v, const std::string& p) { ReadList(v, p, abi::kObjectList); });
    Section(root, "cameras", used,
            [&](const json& v, const std::string& p) { ReadList(v, p, abi::kCameraList); });
    Section(root, "materials", used,
            [&](const json& v, const std::string& p) { ReadList(v, p, abi::kMaterialList); });
    Section(root, "plugin_data", used, [&](const json& v, const std::string& p) { ReadPluginData(v, p); });
    Section(root, "keying", used,
            [&](const json& v, const std::string& p) { scene_.keying = ReadKeyingScript(v, p); });
    std::string selected;
    Section(root, "selected", used,
            [&](const json& v, const std::string& p) { selected = ReadString(v, p); });
    CheckKnownKeys(root, used, "");
    ResolveLinks();
    CheckCycles();
    if (!selected.empty()) scene_.selected = Named(selected, "/selected")->id;
    ResolveFiles();
    return std::move(scene_);
  }

 private:
  template <typename Handler>
  void Section(const json& root, const char* key, std::set<std::string>& used, Handler handler) {
    const auto found = root.find(key);
    if (found == root.end()) return;
    used.insert(key);
    handler(*found, std::string("/") + key);
  }

  static void CheckFormat(const json& root) {
    const auto format = root.find("format");
    if (format == root.end()) {
      throw FieldError("", "missing \"format\": \"" + std::string(kSceneFormatName) + "\"");
    }
    if (!format->is_string() || *format != kSceneFormatName) {
      throw FieldError("/format", "not a Lumetra scene (expected \"" + std::string(kSceneFormatName) + "\")");
    }
    const auto version = root.find("version");
    if (version == root.end()) throw FieldError("", "missing \"version\"");
    if (ReadUnsigned(*version, "/version") != kSceneFormatVersion) {
      throw FieldError("/version", "scene format version " + version->dump() +
                                       " is not supported (this host reads version " +
                                       std::to_string(kSceneFormatVersion) + ")");
    }
  }

  static void ReadRecord(const json& value, const std::string& place, FieldList fields, std::byte* base) {
    if (!value.is_object()) throw FieldError(place, "expected an object, got " + TypeName(value));
    std::set<std::string> used;
    ReadFields(value, fields, base, place, used);
    CheckKnownKeys(value, used, place);
  }

  void ReadViews(const json& value, const std::string& place) {
    if (!value.is_array() || value.size() != abi::kViewCount) {
      throw FieldError(place, "expected an array of the 4 views");
    }
    for (size_t i = 0; i < value.size(); ++i) {
      ReadRecord(value[i], Index(place, i), ViewFields(), Bytes(&scene_.views[i]));
    }
  }

  void ReadSearchPaths(const json& value, const std::string& place) {
    if (!value.is_array()) throw FieldError(place, "expected an array of folders, got " + TypeName(value));
    for (size_t i = 0; i < value.size(); ++i) {
      scene_.searchPaths.push_back(ReadString(value[i], Index(place, i)));
    }
  }

  void ReadPluginData(const json& value, const std::string& place) {
    if (!value.is_array()) throw FieldError(place, "expected an array, got " + TypeName(value));
    for (size_t i = 0; i < value.size(); ++i) {
      const std::string at = Index(place, i);
      if (!value[i].is_object()) throw FieldError(at, "expected an object, got " + TypeName(value[i]));
      CheckKnownKeys(value[i], {"plugin", "data"}, at);
      for (const char* key : {"plugin", "data"}) {
        if (!value[i].contains(key)) throw FieldError(at, std::string("missing \"") + key + "\"");
      }
      PluginChunk chunk;
      chunk.plugin = ReadString(value[i]["plugin"], at + "/plugin");
      auto bytes = platform::DecodeBase64(ReadString(value[i]["data"], at + "/data"));
      if (!bytes) throw FieldError(at + "/data", "not valid base64 data");
      chunk.bytes = std::move(*bytes);
      scene_.pluginChunks.push_back(std::move(chunk));
    }
  }

  void ReadList(const json& value, const std::string& place, uint32_t list) {
    if (!value.is_array()) throw FieldError(place, "expected an array, got " + TypeName(value));
    for (size_t i = 0; i < value.size(); ++i) {
      if (list == abi::kMaterialList) {
        ReadNode(value[i], 0, Index(place, i), 1);
      } else {
        ReadObject(value[i], list, 0, Index(place, i), 1);
      }
    }
  }

  static const std::string& RequiredString(const json& object, const char* key, const std::string& place) {
    const auto found = object.find(key);
    if (found == object.end()) throw FieldError(place, std::string("missing \"") + key + "\"");
    return ReadString(*found, place + "/" + key);
  }

  static void CheckEntry(const json& value, const std::string& place, int depth) {
    if (!value.is_object()) throw FieldError(place, "expected an object, got " + TypeName(value));
    if (depth > kMaxDepth) {
      throw FieldError(place, "objects nested deeper than " + std::to_string(kMaxDepth) + " levels");
    }
  }

  void ReadName(SceneObject& object, const json& value, const std::string& place,
                std::set<std::string>& used) {
    const auto found = value.find("name");
    if (found == value.end()) return;
    used.insert("name");
    object.name = ReadString(*found, place + "/name");
    if (object.name.size() >= sizeof(abi::ObjectInfo::name)) {
      throw FieldError(place + "/name", "a name has at most 127 characters");
    }
  }

  void ReadObject(const json& value, uint32_t list, uint32_t parent, const std::string& place, int depth) {
    CheckEntry(value, place, depth);
    const std::string& typeName = RequiredString(value, "type", place);
    const ObjectTypeLayout* layout = FindObjectType(typeName);
    if (!layout) throw FieldError(place + "/type", "unknown object type \"" + typeName + "\"");
    const bool camera = layout->place == ObjectPlace::kCamera;
    if (camera != (list == abi::kCameraList)) {
      throw FieldError(place + "/type",
                       camera ? "a camera belongs in \"cameras\"" : "only cameras belong in \"cameras\"");
    }
    SceneObject& object = scene_.Add(layout->type, list, parent);
    std::set<std::string> used{"type"};
    ReadName(object, value, place, used);
    ApplyDefaults(layout->dataFields, Bytes(&object.data));
    ApplyDefaults(layout->extraFields, Bytes(&object.data));
    ApplyDefaults(layout->paramFields, Bytes(&object.params));
    ReadFields(value, layout->dataFields, Bytes(&object.data), place, used);
    ReadFields(value, layout->extraFields, Bytes(&object.data), place, used);
    ReadFields(value, layout->paramFields, Bytes(&object.params), place, used);
    if (camera) {
      LinkField(value, "location_object", Link::kLocationObject, object.id, place, used);
      LinkField(value, "look_at_object", Link::kLookAtObject, object.id, place, used);
    } else {
      ReadPlacement(object, value, place, used);
    }
    if (layout->type == abi::kTypeClone) {
      if (!value.contains("source")) throw FieldError(place, "a clone needs a \"source\"");
      LinkField(value, "source", Link::kSource, object.id, place, used);
    }
    ReadArrays(object, *layout, value, place, used);
    NoteFiles(object, place);
    if (layout->hasChildren && value.contains("children")) {
      used.insert("children");
      const json& children = ArrayAt(value, "children", place);
      const uint32_t id = object.id;
      for (size_t i = 0; i < children.size(); ++i) {
        ReadObject(children[i], list, id, Index(place + "/children", i), depth + 1);
      }
    }
    CheckKnownKeys(value, used, place);
  }

  // Transform, flag word and texture of a tree object.
  void ReadPlacement(SceneObject& object, const json& value, const std::string& place,
                     std::set<std::string>& used) {
    abi::ParamRecord& params = object.params;
    if (value.contains("transform")) {
      used.insert("transform");
      ReadTransform(value["transform"], place + "/transform", params.scale, params.rotate, params.translate);
    }
    if (value.contains("local_transform")) {
      used.insert("local_transform");
      params.hasLocal = 1;
      ReadTransform(value["local_transform"], place + "/local_transform", params.localScale,
                    params.localRotate, params.localTranslate);
    }
    if (value.contains("texture_transform")) {
      used.insert("texture_transform");
      ReadTransform(value["texture_transform"], place + "/texture_transform", object.data.textureScale,
                    object.data.textureRotate, object.data.textureTranslate);
    }
    static constexpr FieldLayout kFlagFields[] = {
        {"render", FieldKind::kBool, 0, 1, {1}},
        {"no_shadows", FieldKind::kBool, 4, 1, {0}},
        {"texture_lock", FieldKind::kEnum, 8, 1, {0}, kTextureLocks}};
    uint32_t flags[3] = {1, 0, 0};
    ReadFields(value, kFlagFields, Bytes(flags), place, used);
    object.flags = (flags[0] ? abi::kFlagRender : 0) | (flags[1] ? abi::kFlagNoShadows : 0) | flags[2];
    LinkField(value, "texture", Link::kTexture, object.id, place, used);
  }

  void NoteFiles(const SceneObject& object, const std::string& place) {
    if (object.type == abi::kTypeHeightField) {
      files_.push_back(
          {object.id, abi::kFindHeightField, object.data.shape.heightField.image, place + "/image", false});
    } else if (object.type == abi::kTypeText) {
      files_.push_back({object.id, abi::kFindFont, object.data.shape.text.font, place + "/font", false});
    }
  }

  void LinkField(const json& value, const char* key, Link::What what, uint32_t id, const std::string& place,
                 std::set<std::string>& used) {
    const auto found = value.find(key);
    if (found == value.end()) return;
    used.insert(key);
    links_.push_back({what, id, ReadString(*found, place + "/" + key), place + "/" + key});
  }

  void ReadArrays(SceneObject& object, const ObjectTypeLayout& layout, const json& value,
                  const std::string& place, std::set<std::string>& used) {
    switch (layout.arrays) {
      case ObjectArrays::kNone:
        return;
      case ObjectArrays::kProfile:
        ReadProfile(object, value, place, used);
        return;
      case ObjectArrays::kBlob:
        ReadBlob(object, value, place, used);
        return;
      case ObjectArrays::kSplineMesh:
        ReadSplineMesh(object, value, place, used);
        return;
      case ObjectArrays::kMesh:
        ReadMesh(object, value, place, used);
        return;
    }
  }

  static std::vector<std::array<double, 3>> ReadPoints(const json& value, const char* key,
                                                       const std::string& place, size_t minimum,
                                                       std::set<std::string>& used) {
    used.insert(key);
    const std::string at = place + "/" + key;
    const json& points = ArrayAt(value, key, place);
    std::vector<std::array<double, 3>> out(points.size(), {0, 0, 0});
    for (size_t i = 0; i < points.size(); ++i) {
      ReadNumbers(points[i], Index(at, i), out[i].data(), 3, minimum);
    }
    return out;
  }

  static std::vector<uint32_t> ReadIndexTuples(const json& value, const char* key, const std::string& place,
                                               size_t width, size_t limit, std::set<std::string>& used) {
    used.insert(key);
    const std::string at = place + "/" + key;
    const json& tuples = ArrayAt(value, key, place);
    std::vector<uint32_t> out;
    for (size_t i = 0; i < tuples.size(); ++i) {
      const std::string tuplePlace = Index(at, i);
      if (!tuples[i].is_array() || tuples[i].size() != width) {
        throw FieldError(tuplePlace, "expected an array of " + std::to_string(width) + " indices");
      }
      for (size_t k = 0; k < width; ++k) {
        const uint32_t index = ReadUnsigned(tuples[i][k], Index(tuplePlace, k));
        if (index >= limit) {
          throw FieldError(Index(tuplePlace, k), "index " + std::to_string(index) +
                                                     " is past the last point (" + std::to_string(limit) +
                                                     " points)");
        }
        out.push_back(index);
      }
    }
    return out;
  }

  void ReadProfile(SceneObject& object, const json& value, const std::string& place,
                   std::set<std::string>& used) {
    if (!value.contains("points")) throw FieldError(place, "missing \"points\" of the outline");
    for (const auto& point : ReadPoints(value, "points", place, 2, used)) {
      object.profile.push_back({point[0], point[1], point[2], 0, 0});
    }
    if (object.profile.size() < 2) throw FieldError(place + "/points", "an outline needs at least 2 points");
    if (value.contains("corners")) {
      // Each corner is a one-element tuple of a point index.
      used.insert("corners");
      const json& corners = ArrayAt(value, "corners", place);
      for (size_t i = 0; i < corners.size(); ++i) {
        const uint32_t index = ReadUnsigned(corners[i], Index(place + "/corners", i));
        if (index >= object.profile.size()) {
          throw FieldError(Index(place + "/corners", i), "no point " + std::to_string(index));
        }
        object.profile[index].flags |= abi::kProfilePointCorner;
      }
    }
    // The host keeps outlines closed, the first point repeated at the end, as the plug-in
    // expects of them; the file lists each point once.
    object.profile.push_back(object.profile.front());
    object.data.shape.profile.pointCount = static_cast<uint32_t>(object.profile.size());
  }

  void ReadBlob(SceneObject& object, const json& value, const std::string& place,
                std::set<std::string>& used) {
    if (!value.contains("components")) throw FieldError(place, "missing \"components\" of the blob");
    used.insert("components");
    const json& components = ArrayAt(value, "components", place);
    for (size_t i = 0; i < components.size(); ++i) {
      const std::string at = Index(place + "/components", i);
      const json& entry = components[i];
      CheckEntry(entry, at, 0);
      abi::BlobComponent component{};
      const std::string& kind = RequiredString(entry, "kind", at);
      std::set<std::string> known{"kind"};
      const std::vector<std::pair<const char*, double*>> vectors =
          kind == "sphere" ? std::vector<std::pair<const char*, double*>>{{"centre", component.a}}
          : kind == "cylinder"
              ? std::vector<std::pair<const char*, double*>>{{"from", component.a}, {"to", component.b}}
              : std::vector<std::pair<const char*, double*>>{};
      if (vectors.empty())
        throw FieldError(at + "/kind", "unknown blob component \"" + kind + "\" (sphere or cylinder)");
      component.kind = kind == "sphere" ? 1 : 2;
      component.radius = 1;
      component.strength = 1;
      for (const auto& [key, out] : vectors) {
        if (!entry.contains(key)) throw FieldError(at, std::string("missing \"") + key + "\"");
        known.insert(key);
        ReadNumbers(entry[key], at + "/" + key, out, 3, 3);
      }
      for (const auto& [key, out] :
           {std::pair{"radius", &component.radius}, std::pair{"strength", &component.strength}}) {
        if (!entry.contains(key)) continue;
        known.insert(key);
        *out = ReadNumber(entry[key], at + "/" + key);
      }
      CheckKnownKeys(entry, known, at);
      object.blob.push_back(component);
    }
    object.data.shape.blob.componentCount = static_cast<uint32_t>(object.blob.size());
  }

  void ReadSplineMesh(SceneObject& object, const json& value, const std::string& place,
                      std::set<std::string>& used) {
    for (const char* key : {"points", "patches"}) {
      if (!value.contains(key)) throw FieldError(place, std::string("missing \"") + key + "\"");
    }
    for (const auto& point : ReadPoints(value, "points", place, 3, used)) {
      object.splinePoints.insert(object.splinePoints.end(), point.begin(), point.end());
    }
    object.splinePatches = ReadIndexTuples(value, "patches", place, 16, object.splinePoints.size() / 3, used);
    object.data.shape.splineMesh.pointCount = static_cast<uint32_t>(object.splinePoints.size() / 3);
    object.data.shape.splineMesh.patchCount = static_cast<uint32_t>(object.splinePatches.size() / 16);
  }

  void ReadMesh(SceneObject& object, const json& value, const std::string& place,
                std::set<std::string>& used) {
    if (object.type == abi::kTypeMeshFile) {
      files_.push_back(
          {object.id, abi::kFindMeshFile, object.data.shape.meshFile.file, place + "/file", true});
      return;
    }
    if (object.type == abi::kTypePluginObject &&
        std::memcmp(object.data.shape.pluginObject.kindId, abi::kPluginKindTriangleMesh, 8) != 0) {
      files_.push_back(
          {object.id, abi::kFindHeightField, object.data.shape.pluginObject.image, place + "/image", false});
      return;
    }
    if (value.contains("obj")) {
      used.insert("obj");
      object.meshSource = ReadString(value["obj"], place + "/obj");
      files_.push_back({object.id, abi::kFindMeshFile, object.meshSource, place + "/obj", true});
      for (const char* key : {"vertices", "faces", "normals", "uvs"}) {
        if (value.contains(key))
          throw FieldError(place + "/" + key, "a mesh comes either from \"obj\" or inline, not both");
      }
      return;
    }
    if (!value.contains("vertices") || !value.contains("faces")) {
      throw FieldError(place, "a mesh needs \"obj\", or \"vertices\" and \"faces\"");
    }
    Mesh& mesh = object.mesh;
    for (const auto& vertex : ReadPoints(value, "vertices", place, 3, used)) {
      mesh.vertices.insert(mesh.vertices.end(), vertex.begin(), vertex.end());
    }
    mesh.faces = ReadIndexTuples(value, "faces", place, 3, mesh.VertexCount(), used);
    if (mesh.faces.empty()) throw FieldError(place + "/faces", "a mesh needs at least one face");
    for (const auto& [key, out, minimum] :
         {std::tuple{"normals", &mesh.normals, size_t{3}}, std::tuple{"uvs", &mesh.uvs, size_t{2}}}) {
      if (!value.contains(key)) continue;
      const auto triples = ReadPoints(value, key, place, minimum, used);
      if (triples.size() != mesh.VertexCount()) {
        throw FieldError(place + "/" + key, "expected one entry per vertex (" +
                                                std::to_string(mesh.VertexCount()) + "), got " +
                                                std::to_string(triples.size()));
      }
      for (const auto& triple : triples) out->insert(out->end(), triple.begin(), triple.end());
    }
  }

  void ReadNode(const json& value, uint32_t parent, const std::string& place, int depth) {
    CheckEntry(value, place, depth);
    const std::string& kindName = RequiredString(value, "kind", place);
    const NodeKindLayout* layout = FindNodeKind(kindName);
    if (!layout) throw FieldError(place + "/kind", "unknown texture node kind \"" + kindName + "\"");
    SceneObject& object = scene_.Add(abi::kTypeTextureNode, abi::kMaterialList, parent);
    object.node.kind = layout->kind;
    std::set<std::string> used{"kind"};
    ReadName(object, value, place, used);
    ApplyDefaults(layout->fields, Bytes(&object.node));
    ApplyDefaults(layout->extraFields, Bytes(&object.node));
    ReadFields(value, layout->fields, Bytes(&object.node), place, used);
    ReadFields(value, layout->extraFields, Bytes(&object.node), place, used);
    if (layout->kind == abi::kNodeImageMap || layout->kind == abi::kNodeMaterialMap ||
        layout->kind == abi::kNodeBumpMap) {
      files_.push_back({object.id, layout->kind == abi::kNodeBumpMap ? abi::kFindBumpMap : abi::kFindImageMap,
                        object.node.params.image.file, place + "/file", false});
    }
    if (value.contains("children")) {
      used.insert("children");
      const json& children = ArrayAt(value, "children", place);
      const uint32_t id = object.id;
      for (size_t i = 0; i < children.size(); ++i) {
        ReadNode(children[i], id, Index(place + "/children", i), depth + 1);
      }
    }
    CheckKnownKeys(value, used, place);
  }

  const SceneObject* Named(const std::string& name, const std::string& place) const {
    const SceneObject* object = scene_.FindByName(name);
    if (!object) throw FieldError(place, "no object is named \"" + name + "\"");
    return object;
  }

  const SceneObject* NamedIn(uint32_t list, const std::string& name, const std::string& place,
                             const char* what) const {
    for (uint32_t id : scene_.AllObjects()) {
      const SceneObject* object = scene_.Find(id);
      if (object->name == name && ListOf(*object) == list) return object;
    }
    throw FieldError(place, std::string("no ") + what + " is named \"" + name + "\"");
  }

  uint32_t ListOf(const SceneObject& object) const {
    const SceneObject* top = &object;
    while (top->parent) top = scene_.Find(top->parent);
    for (uint32_t list : {abi::kObjectList, abi::kCameraList, abi::kMaterialList}) {
      const auto& ids = scene_.List(list);
      if (std::find(ids.begin(), ids.end(), top->id) != ids.end()) return list;
    }
    return abi::kObjectList;
  }

  void ResolveLinks() {
    for (const Link& link : links_) {
      SceneObject& object = *scene_.Find(link.id);
      switch (link.what) {
        case Link::kTexture: {
          const SceneObject* material = nullptr;
          for (uint32_t id : scene_.List(abi::kMaterialList)) {
            if (scene_.Find(id)->name == link.name) material = scene_.Find(id);
          }
          if (!material) throw FieldError(link.place, "no material is named \"" + link.name + "\"");
          if (link.name.size() >= sizeof(abi::ObjectInfo::textureName)) {
            throw FieldError(link.place, "a texture name has at most 87 characters");
          }
          object.textureName = link.name;
          break;
        }
        case Link::kSource:
          object.linkA = NamedIn(abi::kObjectList, link.name, link.place, "object")->id;
          break;
        case Link::kLocationObject:
          object.linkA = NamedIn(abi::kObjectList, link.name, link.place, "object")->id;
          break;
        case Link::kLookAtObject:
          object.linkB = NamedIn(abi::kObjectList, link.name, link.place, "object")->id;
          break;
      }
    }
  }

  // An object depends on its children and a clone on its source; translating any
  // object of a cycle of such dependencies would never end.
  void CheckCycles() const {
    std::map<uint32_t, int> state;  // 1 visiting, 2 done
    std::function<void(uint32_t)> visit = [&](uint32_t id) {
      int& mark = state[id];
      if (mark == 2) return;
      if (mark == 1) throw id;
      mark = 1;
      const SceneObject& object = *scene_.Find(id);
      for (uint32_t child : object.children) visit(child);
      if (object.type == abi::kTypeClone && object.linkA) visit(object.linkA);
      state[id] = 2;
    };
    for (const Link& link : links_) {
      if (link.what != Link::kSource) continue;
      try {
        visit(link.id);
      } catch (uint32_t) {
        throw FieldError(link.place, "the clone's source \"" + link.name +
                                         "\" leads back to the clone itself (a clone cycle)");
      }
    }
  }

  void ResolveFiles() {
    const FileFinder finder(FolderOf(scene_.path), scene_.searchPaths);
    for (const FileUse& use : files_) {
      if (use.name.empty()) throw FieldError(use.place, "a file name is needed here");
      const auto found = finder.Find(use.kind, use.name);
      if (!found) {
        throw FieldError(use.place, "file \"" + use.name +
                                        "\" not found (looked in the scene's "
                                        "folder and its search paths)");
      }
      if (!use.mesh) continue;
      try {
        scene_.Find(use.id)->mesh = LoadObjMesh(*found);
      } catch (const MeshFileError& error) {
        throw FieldError(use.place, "mesh file \"" + *found + "\": " + error.what());
      }
    }
  }

  Scene scene_;
  std::vector<Link> links_;
  std::vector<FileUse> files_;
};

// Line and column (from 1) of a byte offset.
std::pair<size_t, size_t> LineAndColumn(const std::string& text, size_t offset) {
  offset = std::min(offset, text.size());
  const size_t line = static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n')) + 1;
  const size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  const size_t column = lineStart == std::string::npos ? offset + 1 : offset - lineStart;
  return {line, column};
}

void CheckText(const std::string& text, const std::string& path) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw SceneFileError(path + ": the file is empty");
  }
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) {
    const auto [line, column] = LineAndColumn(text, nul);
    throw SceneFileError(path + ":" + std::to_string(line) + ":" + std::to_string(column) +
                         ": binary data (a NUL byte): not a scene file");
  }
}

// "line:column:" of the first number in `text` that overflows a double, or "" when none
// is found (the parser met one, so there is one).
std::string PlaceOfHugeNumber(const std::string& text) {
  for (size_t at = 0; (at = text.find_first_of("0123456789", at)) != std::string::npos;) {
    const size_t start = at > 0 && text[at - 1] == '-' ? at - 1 : at;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str() + start, &end);
    if (errno == ERANGE && std::isinf(value)) {
      const auto [line, column] = LineAndColumn(text, start);
      return std::to_string(line) + ":" + std::to_string(column) + ":";
    }
    at = std::max(static_cast<size_t>(end - text.c_str()), at + 1);
  }
  return "";
}

}  // namespace

Scene ParseScene(const std::string& text, const std::string& path) {
  CheckText(text, path);
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& error) {
    const auto [line, column] = LineAndColumn(text, error.byte == 0 ? 0 : error.byte - 1);
    // The parser's own text after its position, e.g. "syntax error while parsing ...".
    std::string what = error.what();
    const size_t detail = what.find(": ", what.find("column"));
    if (detail != std::string::npos) what = what.substr(detail + 2);
    throw SceneFileError(path + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what);
  } catch (const json::out_of_range&) {
    throw SceneFileError(path + ":" + PlaceOfHugeNumber(text) + " a number too large for a double");
  }
  try {
    return SceneReader(path).Read(root);
  } catch (const FieldError& error) {
    const std::string place = error.Place().empty() ? "the top level" : error.Place();
    throw SceneFileError(path + ": at " + place + ": " + error.what());
  }
}

Scene LoadScene(const std::string& path) {
  std::string text;
  if (const std::error_code error = platform::ReadFileBounded(path, kMaxFileSize, text)) {
    if (error == std::errc::file_too_large) {
      throw SceneFileError(path + ": the file is larger than " + std::to_string(kMaxFileSize >> 20) + " MiB");
    }
    throw SceneFileError(path + ": cannot open the file: " + error.message());
  }
  return ParseScene(text, path);
}

}  // namespace lumetra::host
