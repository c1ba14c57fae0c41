#include "host/obj_mesh.h"

#include <tiny_obj_loader.h>

#include <deque>
#include <fstream>
#include <limits>
#include <map>
#include <tuple>
#include <utility>

namespace lumetra::host {
namespace {

// A face corner as indices from 0 into the file's arrays; -1 for none.
using Corner = tinyobj::index_t;

// What a mesh is made of: the file's arrays and its triangles' corners, three a triangle.
// Growing arrays of a large file live in deques: a vector doubling its storage holds old and
// new at once, and keeps up to half of it unused, which made the reading the peak of a render.
struct ObjContents {
  std::deque<double> vertices;   // three values a vertex
  std::deque<double> normals;    // three a normal
  std::deque<double> texcoords;  // two a coordinate pair
  std::deque<Corner> corners;
};

// The file read through tinyobjloader's callbacks, which keep nothing of their own: faces of
// three and four corners are stored as read and split once every vertex is known. A face of
// more corners needs the library's own triangulation (`needsPolygons`).
class StreamedObj {
 public:
  // False when the file cannot be opened.
  bool Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    tinyobj::callback_t callback;
    callback.vertex_cb = [](void* self, tinyobj::real_t x, tinyobj::real_t y, tinyobj::real_t z,
                            tinyobj::real_t) { static_cast<StreamedObj*>(self)->Append(x, y, z, 3); };
    callback.normal_cb = [](void* self, tinyobj::real_t x, tinyobj::real_t y, tinyobj::real_t z) {
      static_cast<StreamedObj*>(self)->AppendNormal(x, y, z);
    };
    callback.texcoord_cb = [](void* self, tinyobj::real_t u, tinyobj::real_t v, tinyobj::real_t) {
      static_cast<StreamedObj*>(self)->Append(u, v, 0, 2);
    };
    callback.index_cb = [](void* self, tinyobj::index_t* indices, int count) {
      static_cast<StreamedObj*>(self)->Face(indices, count);
    };
    std::string warning, error;
    if (!tinyobj::LoadObjWithCallback(in, callback, this, nullptr, &warning, &error) && problem_.empty()) {
      while (!error.empty() && error.back() == '\n') error.pop_back();
      problem_ = error.empty() ? "cannot read the mesh" : error;
    }
    return true;
  }

  bool NeedsPolygons() const { return needsPolygons_; }
  const std::string& Problem() const { return problem_; }

  // The triangles: quads split across their shorter diagonal, as tinyobjloader splits them.
  ObjContents Take() {
    if (quads_ > 0) SplitQuads();
    faceSizes_ = {};
    return std::move(contents_);
  }

 private:
  void Append(double x, double y, double z, int width) {
    auto& values = width == 3 ? contents_.vertices : contents_.texcoords;
    values.push_back(x);
    values.push_back(y);
    if (width == 3) values.push_back(z);
  }

  void AppendNormal(double x, double y, double z) {
    contents_.normals.insert(contents_.normals.end(), {x, y, z});
  }

  // OBJ counts from 1, and from the end of what is read so far when negative; 0 is none.
  static int Resolve(int raw, size_t count) {
    if (raw > 0) return raw - 1;
    if (raw < 0) return static_cast<int>(static_cast<long long>(count) + raw);
    return -1;
  }

  void Face(const tinyobj::index_t* indices, int count) {
    if (needsPolygons_ || !problem_.empty() || count < 3) return;  // faces of fewer corners are skipped
    if (count > 4) {
      needsPolygons_ = true;
      return;
    }
    for (int k = 0; k < count; ++k) {
      if (indices[k].vertex_index == 0) {
        problem_ = "a face names vertex 0 (OBJ numbers its vertices from 1)";
        return;
      }
      contents_.corners.push_back({Resolve(indices[k].vertex_index, contents_.vertices.size() / 3),
                                   Resolve(indices[k].normal_index, contents_.normals.size() / 3),
                                   Resolve(indices[k].texcoord_index, contents_.texcoords.size() / 2)});
    }
    faceSizes_.push_back(static_cast<unsigned char>(count));
    quads_ += count == 4;
  }

  double SquaredDistance(const Corner& a, const Corner& b) const {
    const auto& v = contents_.vertices;
    double sum = 0;
    for (size_t axis = 0; axis < 3; ++axis) {
      const double d = v[static_cast<size_t>(b.vertex_index) * 3 + axis] -
                       v[static_cast<size_t>(a.vertex_index) * 3 + axis];
      sum += d * d;
    }
    return sum;
  }

  // A quad with a corner outside the vertices is dropped, as tinyobjloader drops it. The faces
  // are taken off the front as the triangles grow, so the two never both hold the whole file.
  void SplitQuads() {
    std::deque<Corner> triangles;
    const auto exists = [&](const Corner& c) {
      return c.vertex_index >= 0 && static_cast<size_t>(c.vertex_index) < contents_.vertices.size() / 3;
    };
    for (const unsigned char size : faceSizes_) {
      Corner c[4];
      for (int k = 0; k < size; ++k) {
        c[k] = contents_.corners.front();
        contents_.corners.pop_front();
      }
      if (size == 3) {
        triangles.insert(triangles.end(), {c[0], c[1], c[2]});
      } else if (exists(c[0]) && exists(c[1]) && exists(c[2]) && exists(c[3])) {
        if (SquaredDistance(c[0], c[2]) < SquaredDistance(c[1], c[3])) {
          triangles.insert(triangles.end(), {c[0], c[1], c[2], c[0], c[2], c[3]});
        } else {
          triangles.insert(triangles.end(), {c[0], c[1], c[3], c[1], c[2], c[3]});
        }
      }
    }
    contents_.corners = std::move(triangles);
  }

  ObjContents contents_;
  std::vector<unsigned char> faceSizes_;
  size_t quads_ = 0;
  bool needsPolygons_ = false;
  std::string problem_;
};

// The whole file through tinyobjloader's own reader, which triangulates polygons of any size.
ObjContents ReadWithPolygons(const std::string& path) {
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
  ObjContents contents{{attrib.vertices.begin(), attrib.vertices.end()},
                       {attrib.normals.begin(), attrib.normals.end()},
                       {attrib.texcoords.begin(), attrib.texcoords.end()},
                       {}};
  for (const auto& shape : reader.GetShapes()) {
    contents.corners.insert(contents.corners.end(), shape.mesh.indices.begin(), shape.mesh.indices.end());
  }
  return contents;
}

void AppendTriple(std::vector<double>& out, const std::deque<double>& in, int index, int width) {
  for (int axis = 0; axis < 3; ++axis) {
    out.push_back(axis < width ? in[static_cast<size_t>(index * width + axis)] : 0.0);
  }
}

// Each distinct vertex/normal/coordinate corner becomes one mesh vertex, in the order of first
// use. Most files give a vertex one normal and one coordinate pair, so a vertex's first corner
// is looked up by the vertex; the corners that differ from it go to a map.
class MeshBuilder {
 public:
  explicit MeshBuilder(const ObjContents& contents)
      : contents_(contents),
        first_(contents.vertices.size() / 3, kNone),
        firstRest_(contents.vertices.size() / 3) {}

  // Normals and coordinates are kept only when every corner of every face has them.
  void Inspect() {
    for (const Corner& corner : contents_.corners) {
      CheckIndex(corner.vertex_index, contents_.vertices.size(), 3, "vertex", true);
      CheckIndex(corner.normal_index, contents_.normals.size(), 3, "normal", false);
      CheckIndex(corner.texcoord_index, contents_.texcoords.size(), 2, "texture coordinate", false);
      hasNormals_ = hasNormals_ && corner.normal_index >= 0;
      hasUvs_ = hasUvs_ && corner.texcoord_index >= 0;
    }
  }

  Mesh Build() {
    mesh_.vertices.reserve(contents_.vertices.size());
    if (hasNormals_) mesh_.normals.reserve(contents_.vertices.size());
    if (hasUvs_) mesh_.uvs.reserve(contents_.vertices.size());
    mesh_.faces.reserve(contents_.corners.size());
    for (const Corner& corner : contents_.corners) mesh_.faces.push_back(VertexOf(corner));
    return std::move(mesh_);
  }

 private:
  static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
  using Key = std::tuple<int, int, int>;

  static void CheckIndex(int index, size_t size, size_t width, const char* what, bool required) {
    if (index < 0 && !required) return;
    if (index < 0 || static_cast<size_t>(index) * width + width > size) {
      throw MeshFileError(std::string("a face names a ") + what + " that does not exist");
    }
  }

  uint32_t VertexOf(const Corner& corner) {
    const auto vertex = static_cast<size_t>(corner.vertex_index);
    if (first_[vertex] == kNone) {
      first_[vertex] = Add(corner);
      firstRest_[vertex] = {corner.normal_index, corner.texcoord_index};
      return first_[vertex];
    }
    if (firstRest_[vertex] == std::pair{corner.normal_index, corner.texcoord_index}) return first_[vertex];
    const auto [at, added] =
        others_.try_emplace(Key{corner.vertex_index, corner.normal_index, corner.texcoord_index}, 0);
    if (added) at->second = Add(corner);
    return at->second;
  }

  uint32_t Add(const Corner& corner) {
    const uint32_t index = mesh_.VertexCount();
    AppendTriple(mesh_.vertices, contents_.vertices, corner.vertex_index, 3);
    if (hasNormals_) AppendTriple(mesh_.normals, contents_.normals, corner.normal_index, 3);
    if (hasUvs_) AppendTriple(mesh_.uvs, contents_.texcoords, corner.texcoord_index, 2);
    return index;
  }

  const ObjContents& contents_;
  std::vector<uint32_t> first_;                 // the mesh vertex of each file vertex's first corner
  std::vector<std::pair<int, int>> firstRest_;  // and that corner's normal and coordinates
  std::map<Key, uint32_t> others_;
  Mesh mesh_;
  bool hasNormals_ = true;
  bool hasUvs_ = true;
};

}  // namespace

Mesh LoadObjMesh(const std::string& path) {
  ObjContents contents;
  {
    StreamedObj streamed;
    if (!streamed.Read(path)) throw MeshFileError("cannot open the file");
    if (!streamed.Problem().empty()) throw MeshFileError(streamed.Problem());
    contents = streamed.NeedsPolygons() ? ReadWithPolygons(path) : streamed.Take();
  }
  if (contents.corners.empty() || contents.corners.size() % 3 != 0) {
    throw MeshFileError("the mesh has no triangles");
  }
  MeshBuilder builder(contents);
  builder.Inspect();
  return builder.Build();
}

}  // namespace lumetra::host
