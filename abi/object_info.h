#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/object_params.h"
#include "abi/texture_params.h"

namespace lumetra::abi {

// Object types with children, and the stand-in type that names another object.
constexpr uint32_t kObjectTypeGroup = 1;
constexpr uint32_t kObjectTypeTexture = 11;
constexpr uint32_t kObjectTypeCsg = 12;
constexpr uint32_t kObjectTypeReference = 4107;

// Object data block (800 bytes, version 106): the texture transform and the shape's
// own parameters. Data only: the same layout in every build.
struct ObjectDataBlock {
  uint32_t size;
  uint32_t version;
  double textureScale[3];      // 8
  double textureRotate[3];     // 32, degrees
  double textureTranslate[3];  // 56
  union {                      // 80
    CylinderParams cylinder;
    ConeParams cone;
    TorusParams torus;
    DiscParams disc;
    SuperquadricParams superquadric;
    BlobParams blob;
    ProfileParams profile;
    SplineMeshParams splineMesh;
    HeightFieldParams heightField;
    MeshFileParams meshFile;
    TextParams text;
    PluginObjectParams pluginObject;
    LightParams light;
    CameraParams camera;
    CsgParams csg;
    uint8_t bytes[720];
  } shape;
};
constexpr uint32_t kObjectDataBlockVersion = 106;
static_assert(sizeof(ObjectDataBlock) == 800);
static_assert(offsetof(ObjectDataBlock, textureScale) == 8);
static_assert(offsetof(ObjectDataBlock, textureRotate) == 32);
static_assert(offsetof(ObjectDataBlock, textureTranslate) == 56);
static_assert(offsetof(ObjectDataBlock, shape) == 80);

// Texture block (6168 bytes, version 103): texture description nodes keep their node
// kind and child count here; the kind-specific parameters follow the child count.
struct TextureBlock {
  uint32_t size;
  uint32_t version;
  uint32_t reserved;
  uint32_t kind;  // the node kind, also the sub-type of a type-11 object
  uint32_t childCount;
  union {  // 20
    ColorParams color;
    TransformNodeParams transform;
    FinishParams finish;
    InteriorParams interior;
    MediaParams media;
    PatternParams pattern;
    BlockParams block;
    MapEntryParams mapEntry;
    BumpSizeParams bumpSize;
    ImageParams image;
    NoiseModifierParams noise;
    WarpParams warp;
    CommentParams comment;
    uint8_t bytes[6148];
  } params;
};
constexpr uint32_t kTextureBlockVersion = 103;
static_assert(sizeof(TextureBlock) == 6168);
static_assert(offsetof(TextureBlock, kind) == 12);
static_assert(offsetof(TextureBlock, params) == 20);

// ObjectInfo: filled by GetObjectInfo. The caller zeroes it, sets the size and version
// words, and points the two block fields at zeroed blocks (or null when not wanted).
// In the 64-bit build the two pointers widen and the head grows to 272 bytes; every
// data field keeps its width.
struct ObjectInfo {
  uint32_t size;
  uint32_t version;
  uint32_t type;
  char name[128];
  uint32_t next;        // next object of a chain; for type 4107 the object it stands for
  uint32_t flags;       // 144: kFlagRender, kFlagNoShadows, texture lock bits
  uint32_t parent;      // 148: the enclosing object, 0 at the top of a list
  uint32_t linkA;       // 152: a clone's source; a camera's location object
  uint32_t linkB;       // 156: a camera's look-at object
  uint32_t childCount;  // 160
  ObjectDataBlock* objectData;
  TextureBlock* textureData;
  char textureName[88];  // the material the object wears, empty for none
};
constexpr uint32_t kObjectInfoVersion = 103;

// The two link fields by what they hold for the object's type.
constexpr uint32_t CloneSource(const ObjectInfo& clone) { return clone.linkA; }
constexpr uint32_t CameraLocationObject(const ObjectInfo& camera) { return camera.linkA; }
constexpr uint32_t CameraLookAtObject(const ObjectInfo& camera) { return camera.linkB; }

static_assert(offsetof(ObjectInfo, type) == 8);
static_assert(offsetof(ObjectInfo, name) == 12);
static_assert(offsetof(ObjectInfo, next) == 140);
static_assert(offsetof(ObjectInfo, flags) == 144);
static_assert(offsetof(ObjectInfo, parent) == 148);
static_assert(offsetof(ObjectInfo, linkA) == 152);
static_assert(offsetof(ObjectInfo, linkB) == 156);
static_assert(offsetof(ObjectInfo, childCount) == 160);
static_assert(sizeof(void*) != 4 || offsetof(ObjectInfo, textureName) == 172);
static_assert(sizeof(void*) != 8 || offsetof(ObjectInfo, textureName) == 184);
static_assert(sizeof(void*) != 4 || offsetof(ObjectInfo, objectData) == 164);
static_assert(sizeof(void*) != 4 || offsetof(ObjectInfo, textureData) == 168);
static_assert(sizeof(void*) != 4 || sizeof(ObjectInfo) == 260);
static_assert(sizeof(void*) != 8 || offsetof(ObjectInfo, objectData) == 168);
static_assert(sizeof(void*) != 8 || sizeof(ObjectInfo) == 272);

// Parameter record of an object (408 bytes, first word 101): the global transform,
// the optional local one. A camera keeps its look-at point in the rotate vector and
// its location in the translate vector.
struct ParamRecord {
  uint32_t version;
  uint32_t reserved0;
  double scale[3];
  double rotate[3];  // degrees
  double translate[3];
  uint32_t hasLocal;
  uint32_t reserved1;
  double localScale[3];
  double localRotate[3];
  double localTranslate[3];
  uint8_t reserved[248];  // 160: kept as the last SetObjectParams stored it
};
constexpr uint32_t kParamRecordVersion = 101;
static_assert(sizeof(ParamRecord) == 408);
static_assert(offsetof(ParamRecord, scale) == 8);
static_assert(offsetof(ParamRecord, rotate) == 32);
static_assert(offsetof(ParamRecord, translate) == 56);
static_assert(offsetof(ParamRecord, hasLocal) == 80);
static_assert(offsetof(ParamRecord, localScale) == 88);

// A zeroed ObjectInfo with its header words set, and the blocks attached when given.
inline void PrepareObjectInfo(ObjectInfo& info, ObjectDataBlock* objectData = nullptr,
                              TextureBlock* textureData = nullptr) {
  info = ObjectInfo{};
  info.size = sizeof(ObjectInfo);
  info.version = kObjectInfoVersion;
  if (objectData) {
    *objectData = ObjectDataBlock{};
    objectData->size = sizeof(ObjectDataBlock);
    objectData->version = kObjectDataBlockVersion;
  }
  if (textureData) {
    *textureData = TextureBlock{};
    textureData->size = sizeof(TextureBlock);
    textureData->version = kTextureBlockVersion;
  }
  info.objectData = objectData;
  info.textureData = textureData;
}

}  // namespace lumetra::abi
