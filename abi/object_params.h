#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

// Object types of the host's scene (the type word of ObjectInfo).
enum ObjectType : uint32_t {
  kTypeGroup = 1,
  kTypeBox = 2,
  kTypeSphere = 3,
  kTypeCylinder = 4,
  kTypeCamera = 5,
  kTypeSweep = 6,
  kTypeLathe = 7,
  kTypeExtrusion = 8,
  kTypePointLight = 10,
  kTypeTextureNode = 11,
  kTypeCsg = 12,
  kTypeSplineMesh = 13,
  kTypeHeightField = 16,
  kTypeCone = 17,
  kTypeTorus = 18,
  kTypeSpotLight = 19,
  kTypeAreaLight = 20,
  kTypePlane = 21,
  kTypeDisc = 22,
  kTypeMeshFile = 23,
  kTypeClone = 25,
  kTypeBlob = 26,
  kTypeSuperquadric = 27,
  kTypeText = 28,
  kTypePluginObject = 29,
  kTypePolygonMesh = 31,
};

// Bits of the object flag word.
constexpr uint32_t kFlagNoShadows = 0x1;
constexpr uint32_t kFlagTextureLockMask = 0x6;
constexpr uint32_t kFlagTextureLock = 0x4;           // held against the object's transform
constexpr uint32_t kFlagTextureLockAncestors = 0x6;  // ... and against every ancestor's
constexpr uint32_t kFlagRender = 0x8;

// Shape parameters kept in the object data block from offset 80. Data only, packed to
// four bytes so that every build has the same layout; offsets below are within the
// shape area.
#pragma pack(push, 4)

struct CylinderParams {
  uint32_t open;  // no end caps
};

struct ConeParams {
  double upperRadius;  // the apex radius
  double lowerRadius;  // the base radius
  uint32_t open;
};

struct TorusParams {
  double majorRadius;
  double minorRadius;
  uint32_t solver;  // non-zero: the sturm solver
};

struct DiscParams {
  double innerRadius;
};

struct SuperquadricParams {
  double e;  // first exponent
  double r;  // second exponent
};

struct BlobParams {
  double threshold;
  uint32_t solver;
  uint32_t componentCount;  // read with ReadBlobComponents
};

// Sweep, lathe and extrusion outlines.
struct ProfileParams {
  uint32_t splineKind;  // 1 linear, 2 quadratic, 3 cubic with corner flags, 4 bezier
  uint32_t pointCount;  // read with ReadProfilePoints
  uint32_t steps;       // subdivisions between two points
  uint32_t reserved;
  double extrusion[2];
};

struct SplineMeshParams {
  uint32_t pointCount;  // read with ReadSplinePoints
  uint32_t patchCount;  // read with ReadSplinePatches
  uint32_t subdivisionU;
  uint32_t subdivisionV;
};

struct HeightFieldParams {
  char image[260];  // completed by FindFile kind 6
  uint32_t smooth;
};

struct MeshFileParams {
  char file[260];  // completed by FindFile kind 8; the mesh itself through GetMeshInterface
  double smoothingAngle;
};

struct TextParams {
  char text[256];
  char font[128];  // font file, completed by FindFile kind 12
  double depth;
  double spacing;
  double size;
};

// A plug-in object: an 8-byte kind identifier and the parameters of the two kinds the
// renderer knows (triangle mesh through GetMeshInterface, spherical height field).
struct PluginObjectParams {
  uint8_t kindId[8];
  double smoothingAngle;
  char image[260];
  uint32_t smooth;
  double latitude[2];   // degrees, -90..90 is the whole sphere
  double longitude[2];  // degrees, 0..360 is the whole sphere
};

// Point (10), spot (19) and area (20) lights; the no-shadow flag is bit 0x1 of the
// flag word.
struct LightParams {
  double color[3];
  double fadeDistance;
  double fadePower;
  uint32_t volumetric;
  uint32_t attenuated;
  double falloff;       // spot
  double radius;        // spot
  double tightness;     // spot
  uint32_t samples[3];  // area: sampling values in this order
  uint32_t jitter;      // area
};

// A camera keeps its look-at point and location in the parameter record; its location
// object and look-at object are the head's linkA and linkB.
struct CameraParams {
  double up[3];
  double fieldOfView;  // degrees
  double roll;
  double focalDistance;
  double aperture;
  uint32_t focalBlur;
  uint32_t focalSamples;
  double aspect;
  uint32_t active;
  uint32_t ownTransformOnly;
};

struct CsgParams {
  uint32_t operation;  // 0 union, 1 intersection, 2 difference, 3 merge
};

#pragma pack(pop)

#define LUMETRA_SHAPE_OFFSET(type, field, offset) \
  static_assert(offsetof(type, field) == (offset), #type "." #field)
LUMETRA_SHAPE_OFFSET(ConeParams, open, 16);
LUMETRA_SHAPE_OFFSET(TorusParams, solver, 16);
LUMETRA_SHAPE_OFFSET(BlobParams, componentCount, 12);
LUMETRA_SHAPE_OFFSET(ProfileParams, extrusion, 16);
LUMETRA_SHAPE_OFFSET(HeightFieldParams, smooth, 260);
LUMETRA_SHAPE_OFFSET(MeshFileParams, smoothingAngle, 260);
LUMETRA_SHAPE_OFFSET(TextParams, depth, 384);
LUMETRA_SHAPE_OFFSET(TextParams, size, 400);
LUMETRA_SHAPE_OFFSET(PluginObjectParams, image, 16);
LUMETRA_SHAPE_OFFSET(PluginObjectParams, latitude, 280);
LUMETRA_SHAPE_OFFSET(PluginObjectParams, longitude, 296);
LUMETRA_SHAPE_OFFSET(LightParams, fadeDistance, 24);
LUMETRA_SHAPE_OFFSET(LightParams, volumetric, 40);
LUMETRA_SHAPE_OFFSET(LightParams, falloff, 48);
LUMETRA_SHAPE_OFFSET(LightParams, samples, 72);
LUMETRA_SHAPE_OFFSET(LightParams, jitter, 84);
LUMETRA_SHAPE_OFFSET(CameraParams, fieldOfView, 24);
LUMETRA_SHAPE_OFFSET(CameraParams, focalBlur, 56);
LUMETRA_SHAPE_OFFSET(CameraParams, aspect, 64);
LUMETRA_SHAPE_OFFSET(CameraParams, active, 72);
LUMETRA_SHAPE_OFFSET(CameraParams, ownTransformOnly, 76);
#undef LUMETRA_SHAPE_OFFSET

// Kind identifiers of plug-in objects.
constexpr uint8_t kPluginKindTriangleMesh[8] = {0xEB, 0x23, 0x8B, 0x3B, 0x38, 0x89, 0xB3, 0xF3};
constexpr uint8_t kPluginKindSphericalHeight[8] = {0x0A, 0x0A, 0x9C, 0x3D, 0xFA, 0xC6, 0x5D, 0x74};

}  // namespace lumetra::abi
