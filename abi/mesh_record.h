#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"

namespace lumetra::abi {

constexpr uint32_t kMeshRecordVersion = 101;
constexpr uint32_t kMeshRecordSize32 = 200;

// Readers of an object's arrays: `first` and `count` select a range; each answers 0
// and fills `out`, or -4 when the range lies beyond the array.
using ReadDoubles = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count, double* out);
using ReadIndices = int32_t(LUMETRA_STDCALL*)(uint32_t id, uint32_t first, uint32_t count, uint32_t* out);

// Mesh interface record of GetMeshInterface(id, record) for triangle-mesh files (23),
// mesh plug-in objects (29) and polygon meshes (31). The caller sets size and version.
// Vertices, normals and texture coordinates are three doubles each, faces three vertex
// indices each. 200 bytes in the 32-bit layout; the four readers widen on 64-bit (216).
struct MeshRecord {
  uint32_t size;         // 0
  uint32_t version;      // 4
  uint32_t object;       // 8
  uint32_t vertexCount;  // 12
  uint32_t normalCount;  // 16: 0 when the mesh has no normals
  uint32_t uvCount;      // 20: 0 when the mesh has no texture coordinates
  uint32_t faceCount;    // 24
  uint32_t reserved28;
  ReadDoubles readVertices;  // 32
  ReadDoubles readNormals;   // 36
  ReadDoubles readUvs;       // 40
  ReadIndices readFaces;     // 44
  uint8_t reserved[152];
};

static_assert(offsetof(MeshRecord, faceCount) == 24);
static_assert(offsetof(MeshRecord, readVertices) == 32);
static_assert(sizeof(void*) != 4 || sizeof(MeshRecord) == 200);
static_assert(sizeof(void*) != 8 || sizeof(MeshRecord) == 216);

// One point of a sweep, lathe or extrusion outline (ReadProfilePoints).
struct ProfilePoint {
  double x;
  double y;
  double z;
  uint32_t flags;  // bit 0x2: a corner of a cubic outline
  uint32_t reserved;
};
static_assert(sizeof(ProfilePoint) == 32);
constexpr uint32_t kProfilePointCorner = 0x2;

// One blob component (ReadBlobComponents): a sphere at `a`, or a cylinder from `a` to `b`.
struct BlobComponent {
  uint32_t kind;  // 1 sphere, 2 cylinder
  uint32_t reserved;
  double a[3];
  double b[3];
  double radius;
  double strength;
};
static_assert(sizeof(BlobComponent) == 72);
static_assert(offsetof(BlobComponent, radius) == 56);

}  // namespace lumetra::abi
