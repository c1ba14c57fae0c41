// Triangle mesh entries.
#include <optional>

#include "api_support.h"
#include "triangle_mesh.h"

using namespace lumetra::renderlib;

namespace {

// Negative indices wrap to huge unsigned ones, which the mesh refuses.
std::vector<uint32_t> indices(const int32_t* values, int32_t face_count) {
  if (!values || face_count <= 0) return {};
  return std::vector<uint32_t>(values, values + 3 * size_t(face_count));
}

// A mesh primitive of what read() gives; read answers nothing for arrays it refuses.
template <class Read>
uint32_t addMesh(L2Scene scene, Read&& read) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    const std::optional<MeshInput> input = read();
    if (!input) return 0;
    std::shared_ptr<TriangleMesh> mesh = TriangleMesh::create(*input);
    if (!mesh) return 0;
    auto primitive = std::make_unique<Primitive>();
    primitive->shape = mesh;
    primitive->mesh = std::move(mesh);
    return s.add(std::move(primitive));
  });
}

template <class Value>
uint32_t createVertexNormalMesh(L2Scene scene, int32_t vertex_count, const Value* vertices,
                                const Value* normals, int32_t face_count, const int32_t* faces,
                                int32_t flags) {
  return addMesh(scene, [&]() -> std::optional<MeshInput> {
    if (!vertices || !faces || vertex_count <= 0 || face_count <= 0) return std::nullopt;
    MeshInput input;
    input.vertices = readPoints(vertices, vertex_count);
    input.normals = readPoints(normals, vertex_count);
    input.faces = indices(faces, face_count);
    input.counter_clockwise = (flags & L2_MESH_COUNTER_CLOCKWISE) != 0;
    return input;
  });
}

}  // namespace

extern "C" {

L2Primitive CreateTriBag(L2Scene scene, int32_t vertex_count, const double* vertices, const double* normals,
                         int32_t face_count, const int32_t* faces, int32_t flags) {
  return createVertexNormalMesh(scene, vertex_count, vertices, normals, face_count, faces, flags);
}

L2Primitive CreateTriBag2F(L2Scene scene, int32_t vertex_count, const float* vertices, const float* normals,
                           int32_t face_count, const int32_t* faces, int32_t flags) {
  return createVertexNormalMesh(scene, vertex_count, vertices, normals, face_count, faces, flags);
}

L2Primitive CreateTriBag3(L2Scene scene, int32_t vertex_count, const double* vertices, int32_t normal_count,
                          const double* normals, int32_t uv_count, const double* uvs, int32_t face_count,
                          const int32_t* faces, const int32_t* normal_faces, const int32_t* uv_faces,
                          int32_t flags) {
  return addMesh(scene, [&]() -> std::optional<MeshInput> {
    if (!vertices || !faces || vertex_count <= 0 || face_count <= 0) return std::nullopt;
    // A pair given half (a count without its array or the other way round) is refused.
    if ((normal_count > 0) != (normals != nullptr && normal_faces != nullptr)) return std::nullopt;
    if ((uv_count > 0) != (uvs != nullptr && uv_faces != nullptr)) return std::nullopt;
    MeshInput input;
    input.vertices = readPoints(vertices, vertex_count);
    input.faces = indices(faces, face_count);
    input.normals = readPoints(normals, normal_count);
    input.normal_faces = indices(normal_faces, normal_count > 0 ? face_count : 0);
    input.uvs = readPoints(uvs, uv_count);
    input.uv_faces = indices(uv_faces, uv_count > 0 ? face_count : 0);
    input.counter_clockwise = (flags & L2_MESH_COUNTER_CLOCKWISE) != 0;
    return input;
  });
}

int32_t SmoothTriBag(L2Scene scene, L2Primitive prim, double angle) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) -> int32_t {
    if (!p.mesh) return L2_ERROR_HANDLE;
    if (!allFinite(angle) || angle < 0 || angle > 180) return L2_ERROR_ARGUMENT;
    p.mesh->smooth(angle);
    return L2_OK;
  });
}

}  // extern "C"
