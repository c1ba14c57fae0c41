#include "translate/host_mesh.h"

#include "translate/host_arrays.h"

namespace lumetra::translate {

std::optional<abi::MeshRecord> MeshInterfaceOf(const abi::SceneRecord& host, std::uint32_t id) {
  if (!host.getMeshInterface) return std::nullopt;
  abi::MeshRecord record{};
  record.size = sizeof record;
  record.version = abi::kMeshRecordVersion;
  if (host.getMeshInterface(id, &record) != abi::kOk) return std::nullopt;
  return record;
}

std::optional<HostMesh> ReadMesh(const abi::MeshRecord& record) {
  const std::uint32_t id = record.object;
  auto vertices = ReadHostArray<double>(record.readVertices, id, record.vertexCount, 3);
  auto normals = ReadHostArray<double>(record.readNormals, id, record.normalCount, 3);
  auto uvs = ReadHostArray<double>(record.readUvs, id, record.uvCount, 3);
  auto faces = ReadHostArray<std::uint32_t>(record.readFaces, id, record.faceCount, 3);
  if (!vertices || !normals || !uvs || !faces) return std::nullopt;
  HostMesh mesh{record.vertexCount,  record.faceCount, std::move(*vertices),
                std::move(*normals), std::move(*uvs),  {}};
  mesh.faces.reserve(faces->size());
  for (const std::uint32_t index : *faces) {
    if (index >= record.vertexCount) return std::nullopt;
    mesh.faces.push_back(static_cast<int32_t>(index));
  }
  return mesh;
}

}  // namespace lumetra::translate
