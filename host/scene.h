#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "abi/environment_record.h"
#include "abi/mesh_record.h"
#include "abi/object_info.h"
#include "abi/render_settings_record.h"
#include "abi/view_record.h"
#include "host/keying_script.h"

namespace lumetra::host {

// A triangle mesh: vertices, optional normals and texture coordinates (three doubles
// each, one per vertex) and faces of three vertex indices.
struct Mesh {
  std::vector<double> vertices;
  std::vector<double> normals;
  std::vector<double> uvs;
  std::vector<uint32_t> faces;

  uint32_t VertexCount() const { return static_cast<uint32_t>(vertices.size() / 3); }
  uint32_t FaceCount() const { return static_cast<uint32_t>(faces.size() / 3); }
  bool operator==(const Mesh&) const = default;
};

// One object of the scene: the host's records of it and the arrays kept beside them.
struct SceneObject {
  uint32_t id = 0;
  uint32_t type = 0;
  std::string name;
  uint32_t flags = abi::kFlagRender;
  uint32_t parent = 0;
  uint32_t linkA = 0;
  uint32_t linkB = 0;
  std::vector<uint32_t> children;
  std::string textureName;
  abi::ParamRecord params{};
  abi::ObjectDataBlock data{};
  abi::TextureBlock node{};  // type-11 nodes: kind and parameters
  std::vector<abi::ProfilePoint> profile;
  std::vector<abi::BlobComponent> blob;
  std::vector<double> splinePoints;     // three doubles per control point
  std::vector<uint32_t> splinePatches;  // sixteen point indices per patch
  Mesh mesh;
  std::string meshSource;  // the OBJ file a mesh came from, empty when inline
};

// A chunk of scene data a plug-in stored through SaveSceneData, kept unread.
struct PluginChunk {
  std::string plugin;  // the plug-in's name from its information record
  std::vector<uint8_t> bytes;
  bool operator==(const PluginChunk&) const = default;
};

// The host's scene: the object tree (list 0), the cameras (list 1), the materials
// (list 2), the render settings, the environment and the four views.
class Scene {
 public:
  Scene();

  // Adds an object at the end of `list` (parent 0) or of `parent`'s children.
  SceneObject& Add(uint32_t type, uint32_t list, uint32_t parent = 0);

  SceneObject* Find(uint32_t id);
  const SceneObject* Find(uint32_t id) const;
  // The first object of that name, walking lists 0, 1 and 2 depth first.
  const SceneObject* FindByName(const std::string& name) const;
  // Ids of list 0, 1 or 2; empty for any other number.
  const std::vector<uint32_t>& List(uint32_t list) const;
  // Objects of every list, depth first, in list order.
  std::vector<uint32_t> AllObjects() const;
  size_t ObjectCount() const { return objects_.size(); }

  abi::RenderSettingsRecord render{};
  abi::EnvironmentRecord environment{};
  std::array<abi::ViewRecord, abi::kViewCount> views{};
  std::vector<std::string> searchPaths;  // folders FindFile tries after the scene's own
  std::vector<PluginChunk> pluginChunks;
  std::vector<KeyingStep> keying;  // steps a person wrote to animate the scene
  std::string path;                // the scene file, empty when never saved
  uint32_t selected = 0;

 private:
  void Walk(uint32_t id, std::vector<uint32_t>& out) const;

  std::deque<SceneObject> objects_;  // index = id - 1; references stay valid
  std::array<std::vector<uint32_t>, 3> lists_;
};

// The ray tracer draws a plane as a disc this wide; the scene writers give other renderers
// the same disc.
inline constexpr double kPlaneRadius = 10000;
// How deep in the object tree a clone may stand: deeper, clones of clones go round in a ring.
inline constexpr int kDeepestClone = 256;

// Groups, CSG and the ray tracer's analytic unit shapes, which every scene writer has a
// shape for.
inline bool IsPlainShapeType(uint32_t type) {
  switch (type) {
    case abi::kTypeGroup:
    case abi::kTypeCsg:
    case abi::kTypeBox:
    case abi::kTypeSphere:
    case abi::kTypeCylinder:
    case abi::kTypeCone:
    case abi::kTypeTorus:
    case abi::kTypePlane:
    case abi::kTypeDisc:
      return true;
    default:
      return false;
  }
}
inline bool IsLightType(uint32_t type) {
  return type == abi::kTypePointLight || type == abi::kTypeSpotLight || type == abi::kTypeAreaLight;
}
inline bool IsMeshType(uint32_t type) { return type == abi::kTypeMeshFile || type == abi::kTypePolygonMesh; }
// Meshes, and plug-in objects of the triangle-mesh kind, whose triangles the host holds.
inline bool HasTriangles(const SceneObject& object) {
  return IsMeshType(object.type) ||
         (object.type == abi::kTypePluginObject &&
          std::memcmp(object.data.shape.pluginObject.kindId, abi::kPluginKindTriangleMesh, 8) == 0);
}

// The index in list 2 of the top-level material called `name`; none for an empty name or
// a material the scene lacks.
std::optional<size_t> MaterialIndex(const Scene& scene, const std::string& name);

// The four views of a new scene: top, front, side and camera, two by two.
std::array<abi::ViewRecord, abi::kViewCount> DefaultViews();

}  // namespace lumetra::host
