#include <algorithm>
#include <cstdio>

#include "abi/result_codes.h"
#include "platform/messages.h"
#include "translate/host_arrays.h"
#include "translate/host_mesh.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

constexpr int32_t kPatchPoints = 16;
constexpr std::uint32_t kMaxSubdivisionLevel = 10;

int32_t Count(std::uint32_t count) { return static_cast<int32_t>(count); }

// Points per patch side of a subdivision level: 2^level + 1.
int32_t GridPoints(std::uint32_t level) { return (1 << std::min(level, kMaxSubdivisionLevel)) + 1; }

void ShowBadMesh(const std::string& path, std::uint32_t vertices, std::uint32_t faces) {
  char text[abi::kMaxPath + 64];
  std::snprintf(text, sizeof text, "Bad mesh [%s], vertices: %u, faces: %u\n", path.c_str(), vertices, faces);
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

// The mesh file's path as the host completes it (the name as given when it cannot).
std::string CompletedMeshPath(const ShapeSource& source) {
  char path[abi::kMaxPath] = {};
  const std::string name = FieldText(source.object.Shape().meshFile.file);
  std::snprintf(path, sizeof path, "%s", name.c_str());
  if (!source.host.findFile || source.host.findFile(abi::kFindMeshFile, path) != abi::kOk) return name;
  return FieldText(path);
}

}  // namespace

L2Primitive MakeSplineMesh(const ShapeSource& source) {
  const abi::SplineMeshParams& params = source.object.Shape().splineMesh;
  const std::uint32_t id = source.object.id;
  const auto points = ReadHostArray<double>(source.host.readSplinePoints, id, params.pointCount, 3);
  const auto patches =
      ReadHostArray<std::uint32_t>(source.host.readSplinePatches, id, params.patchCount, kPatchPoints);
  if (!points || !patches) return 0;
  const std::vector<int32_t> indices(patches->begin(), patches->end());
  const L2Primitive prim = CreateSplineMesh(source.scene, L2_PATCH_BEZIER, Count(params.pointCount),
                                            points->data(), Count(params.patchCount), indices.data());
  if (prim != 0) {
    LogRefusal(
        SetPrimUV(source.scene, prim, GridPoints(params.subdivisionU), GridPoints(params.subdivisionV)),
        "SetPrimUV");
  }
  return prim;
}

L2Primitive MakeMeshFile(const ShapeSource& source) {
  const std::string path = CompletedMeshPath(source);
  const auto record = MeshInterfaceOf(source.host, source.object.id);
  const std::uint32_t vertexCount = record ? record->vertexCount : 0;
  const std::uint32_t faceCount = record ? record->faceCount : 0;
  const auto mesh = vertexCount > 0 && faceCount > 0 ? ReadMesh(*record) : std::nullopt;
  if (!mesh) {
    ShowBadMesh(path, vertexCount, faceCount);
    return 0;
  }
  const L2Primitive prim = CreateTriBag(source.scene, Count(vertexCount), mesh->vertices.data(), nullptr,
                                        Count(faceCount), mesh->faces.data(), L2_MESH_COUNTER_CLOCKWISE);
  const double angle = source.object.Shape().meshFile.smoothingAngle;
  if (prim != 0 && angle > 0) LogRefusal(SmoothTriBag(source.scene, prim, angle), "SmoothTriBag");
  return prim;
}

L2Primitive MakePolygonMesh(const ShapeSource& source) {
  const auto record = MeshInterfaceOf(source.host, source.object.id);
  const auto mesh = record ? ReadMesh(*record) : std::nullopt;
  if (!mesh) return 0;
  // Each face's vertex indices index its normals and texture coordinates too.
  const int32_t* faces = mesh->faces.data();
  const bool hasNormals = !mesh->normals.empty() && record->normalCount >= mesh->vertexCount;
  const bool hasUvs = !mesh->uvs.empty() && record->uvCount >= mesh->vertexCount;
  return CreateTriBag3(source.scene, Count(mesh->vertexCount), mesh->vertices.data(),
                       Count(hasNormals ? record->normalCount : 0),
                       hasNormals ? mesh->normals.data() : nullptr, Count(hasUvs ? record->uvCount : 0),
                       hasUvs ? mesh->uvs.data() : nullptr, Count(mesh->faceCount), faces,
                       hasNormals ? faces : nullptr, hasUvs ? faces : nullptr, L2_MESH_COUNTER_CLOCKWISE);
}

}  // namespace lumetra::translate
