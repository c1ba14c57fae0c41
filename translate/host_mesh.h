#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "abi/scene_record.h"

namespace lumetra::translate {

// A triangle mesh as the host's mesh interface hands it: vertices, normals and texture
// coordinates three values each (normals and coordinates may be empty), faces three
// vertex indices each.
struct HostMesh {
  std::uint32_t vertexCount = 0;
  std::uint32_t faceCount = 0;
  std::vector<double> vertices;
  std::vector<double> normals;
  std::vector<double> uvs;
  std::vector<int32_t> faces;
};

// The counts the host reports for the object's mesh; nothing when it has no mesh interface.
std::optional<abi::MeshRecord> MeshInterfaceOf(const abi::SceneRecord& host, std::uint32_t id);

// Every array of the mesh; nothing when a reader refuses or a count is not believable.
std::optional<HostMesh> ReadMesh(const abi::MeshRecord& record);

}  // namespace lumetra::translate
