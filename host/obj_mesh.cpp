#include "host/obj_mesh.h"

#include <tiny_obj_loader.h>
#include <map>
#include <tuple>

namespace lumetra::host {
namespace {

using Corner = std::tuple<int, int, int>;  // vertex, normal, texture coordinate

void AppendTriple(std::vector<double>& out, const std::vector<tinyobj::real_t>& in, int index, int width) {
  for (int axis = 0; axis < 3; ++axis) {
    out.push_back(axis < width ? static_cast<double>(in[static_cast<size_t>(index * width + axis)]) : 0.0);
  }
}

class MeshBuilder {
 public:
  explicit MeshBuilder(const tinyobj::attrib_t& attrib) : attrib_(attrib) {}

  uint32_t VertexOf(const tinyobj::index_t& index) {
    const Corner corner{index.vertex_index, index.normal_index, index.texcoord_index};
    const auto [at, added] = corners_.try_emplace(corner, mesh_.VertexCount());
    if (added) {
      AppendTriple(mesh_.vertices, attrib_.vertices, index.vertex_index, 3);
      if (hasNormals_) AppendTriple(mesh_.normals, attrib_.normals, index.normal_index, 3);
      if (hasUvs_) AppendTriple(mesh_.uvs, attrib_.texcoords, index.texcoord_index, 2);
    }
    return at->second;
  }

  // Normals and coordinates are kept only when every corner of every face has them.
  void Inspect(const std::vector<tinyobj::shape_t>& shapes) {
    for (const auto& shape : shapes) {
      for (const auto& index : shape.mesh.indices) {
        CheckIndex(index.vertex_index, attrib_.vertices.size(), 3, "vertex", true);
        CheckIndex(index.normal_index, attrib_.normals.size(), 3, "normal", false);
        CheckIndex(index.texcoord_index, attrib_.texcoords.size(), 2, "texture coordinate", false);
        hasNormals_ = hasNormals_ && index.normal_index >= 0;
        hasUvs_ = hasUvs_ && index.texcoord_index >= 0;
      }
    }
  }

  Mesh Take() { return std::move(mesh_); }

 private:
  static void CheckIndex(int index, size_t size, size_t width, const char* what, bool required) {
    if (index < 0 && !required) return;
    if (index < 0 || static_cast<size_t>(index) * width + width > size) {
      throw MeshFileError(std::string("a face names a ") + what + " that does not exist");
    }
  }

  const tinyobj::attrib_t& attrib_;
  std::map<Corner, uint32_t> corners_;
  Mesh mesh_;
  bool hasNormals_ = true;
  bool hasUvs_ = true;
};

}  // namespace

Mesh LoadObjMesh(const std::string& path) {
  tinyobj::ObjReaderConfig config;
  config.triangulate = true;
  config.vertex_color = false;
  config.mtl_search_path = "";
  tinyobj::ObjReader reader;
  if (!reader.ParseFromFile(path, config)) {
    std::string problem = reader.Error();
    while (!problem.empty() && problem.back() == '\n') problem.pop_back();
    throw MeshFileError(problem.empty() ? "cannot read the mesh" : problem);
  }
  const auto& attrib = reader.GetAttrib();
  const auto& shapes = reader.GetShapes();
  MeshBuilder builder(attrib);
  builder.Inspect(shapes);
  std::vector<uint32_t> faces;
  for (const auto& shape : shapes) {
    const auto& indices = shape.mesh.indices;
    for (const auto& index : indices) faces.push_back(builder.VertexOf(index));
  }
  if (faces.empty() || faces.size() % 3 != 0) throw MeshFileError("the mesh has no triangles");
  Mesh mesh = builder.Take();
  mesh.faces = std::move(faces);
  return mesh;
}

}  // namespace lumetra::host
