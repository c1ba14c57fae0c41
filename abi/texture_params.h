#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

// Kinds of texture description nodes (type-11 objects); the kind is the word at
// offset 12 of the texture block.
enum NodeKind : uint32_t {
  kNodeStandardTexture = 1,
  kNodeTextureMap = 2,
  kNodeMaterialMap = 3,
  kNodeLayeredTexture = 4,
  kNodeBlockTexture = 5,
  kNodePigment = 6,
  kNodeSolidColor = 7,
  kNodeBlockPigment = 8,
  kNodeBlockPigmentOfPigments = 9,
  kNodeBlockNormal = 10,
  kNodePatternPigment = 11,
  kNodePigmentMap = 12,
  kNodeNormalMap = 13,
  kNodePatternNormal = 14,
  kNodeImageMap = 15,
  kNodeBumpMap = 16,
  kNodeBumpSize = 17,
  kNodeNormal = 18,
  kNodeFinish = 19,
  kNodeAmbientColor = 20,
  kNodeReflectionColor = 21,
  kNodeWarp = 23,
  kNodeTransform = 24,
  kNodeNoiseModifiers = 25,
  kNodeBitmapModifiers = 26,
  kNodeMapEntry = 28,
  kNodeComment = 30,
  kNodeMaterial = 33,
  kNodeInterior = 34,
  kNodeMedia = 35,
  kNodeDensity = 36,
  kNodePatternPigmentAlt = 37,
  kNodeBlockPigmentOfPigmentsAlt = 38,
  kNodePigmentMapAlt = 39,
  kNodeAbsorption = 40,
  kNodeEmission = 41,
  kNodeScattering = 42,
};

// The kinds that stand as a texture, a pigment, and a normal.
constexpr bool IsTextureNodeKind(uint32_t kind) {
  return kind >= kNodeStandardTexture && kind <= kNodeBlockTexture;
}
constexpr bool IsPigmentNodeKind(uint32_t kind) {
  switch (kind) {
    case kNodeSolidColor:
    case kNodeBlockPigment:
    case kNodeBlockPigmentOfPigments:
    case kNodeBlockPigmentOfPigmentsAlt:
    case kNodePatternPigment:
    case kNodePatternPigmentAlt:
    case kNodePigmentMap:
    case kNodePigmentMapAlt:
    case kNodeImageMap:
      return true;
    default:
      return false;
  }
}
constexpr bool IsNormalNodeKind(uint32_t kind) {
  return kind == kNodeBlockNormal || kind == kNodeNormalMap || kind == kNodePatternNormal ||
         kind == kNodeBumpMap;
}

// Node parameters, laid over the texture block from offset 20 (the byte after the
// child count). Offsets in the comments count from that start. Packed to four bytes:
// the layout is the same in every build.
#pragma pack(push, 4)

// [solid color], [ambient color], [reflection color], [absorption], [emission],
// [scattering]: red, green, blue and two further components (filter, transmit).
struct ColorParams {
  double red, green, blue, filter, transmit;  // +0 .. +32
};

struct TransformNodeParams {
  double scale[3];      // +0
  double rotate[3];     // +24, degrees
  double translate[3];  // +48
};

struct FinishParams {
  double ambient;        // +0
  double diffuse;        // +8
  double brilliance;     // +16
  double phong;          // +24
  double phongSize;      // +32
  double specular;       // +40
  double roughness;      // +48, its reciprocal is used
  double crand;          // +56
  uint32_t reserved;     // +64
  uint32_t metallicSet;  // +68
  double metallic;       // +72, used only when metallicSet is non-zero
};

struct InteriorParams {
  double ior;  // +0
};

struct MediaParams {
  uint32_t intervals;      // +0
  uint32_t samplesMin;     // +4
  uint32_t samplesMax;     // +8
  double confidence;       // +12
  double variance;         // +20
  double ratio;            // +28
  uint32_t methodSet;      // +36
  uint32_t method;         // +40, 1..5
  double eccentricity;     // +44
  uint32_t extinctionSet;  // +52
  double extinction;       // +56
};

// One colour-map entry held in a pattern pigment's own record.
struct ColorMapEntry {
  double value, red, green, blue, filter, transmit;
};
constexpr uint32_t kMaxColorMapEntries = 25;

// [texture map], pattern pigments, normal maps and pattern normals.
struct PatternParams {
  uint32_t pattern;           // +0, sub-kind 0..25
  double agateTurbulence;     // +4
  double gradient[3];         // +12
  uint32_t mandelIterations;  // +36
  double quilt[2];            // +40, +48
  uint32_t spiralArms;        // +56
  uint8_t reserved60[264];
  uint32_t extra;                               // +324
  uint32_t colorMapCount;                       // +328
  ColorMapEntry colorMap[kMaxColorMapEntries];  // +332
};

// Block kinds: 0 checker, 1 hexagon, 2 brick.
struct BlockParams {
  uint32_t block;       // +0
  double brickSize[3];  // +4
  double mortar;        // +28
  double colors[3][5];  // +36: the entries of a block pigment with colours
};

struct MapEntryParams {
  double value;  // +0
};

struct BumpSizeParams {
  double amount;  // +0
};

// [image map], [bump map] and [material map]: the file name and the bitmap modifiers.
struct ImageParams {
  char file[256];          // +0, completed by FindFile kind 4 (kind 5 for a bump map)
  uint32_t mapType;        // +256
  uint32_t interpolation;  // +260
  uint32_t once;           // +264
  uint32_t interpolate;    // +268
  uint32_t alphaMode;      // +272
  uint32_t useIndex;       // +276
  float filterAll;         // +280
  float transmitAll;       // +284
  uint8_t reserved288[2052];
  uint32_t extraFlagA;   // +2340
  float extraValues[2];  // +2344
  uint8_t reserved2352[2052];
  uint32_t extraFlagB;  // +4404
};

struct NoiseModifierParams {
  uint32_t perAxis;         // +0: 0 uses the single value on every axis
  double turbulence;        // +4
  double turbulenceXyz[3];  // +12
  uint32_t octaves;         // +36
  double omega;             // +40
  double lambda;            // +48
  double frequency;         // +56
  double phase;             // +64
  uint32_t waveShape;       // +72
};

// [warp]: 0 black hole, 1 repeat, 2 turbulence.
struct WarpParams {
  uint32_t warp;     // +0
  double centre[3];  // +4
  double radius;     // +28
  double falloff;    // +36
  double strength;   // +44
  double repeat[3];  // +52
  double jitter[3];  // +76
  uint32_t inverse;  // +100
  uint32_t reserved104;
  double width[3];       // +108
  double offset[3];      // +132
  double flip[3];        // +156, non-zero flips the axis
  double turbulence[3];  // +180
  uint32_t octaves;      // +204
  double omega;          // +208
  double lambda;         // +216
};

struct CommentParams {
  char text[256];
};

#pragma pack(pop)

#define LUMETRA_NODE_OFFSET(type, field, offset) \
  static_assert(offsetof(type, field) == (offset), #type "." #field)
LUMETRA_NODE_OFFSET(TransformNodeParams, rotate, 24);
LUMETRA_NODE_OFFSET(TransformNodeParams, translate, 48);
LUMETRA_NODE_OFFSET(FinishParams, phong, 24);
LUMETRA_NODE_OFFSET(FinishParams, roughness, 48);
LUMETRA_NODE_OFFSET(FinishParams, metallicSet, 68);
LUMETRA_NODE_OFFSET(FinishParams, metallic, 72);
LUMETRA_NODE_OFFSET(MediaParams, confidence, 12);
LUMETRA_NODE_OFFSET(MediaParams, ratio, 28);
LUMETRA_NODE_OFFSET(MediaParams, methodSet, 36);
LUMETRA_NODE_OFFSET(MediaParams, method, 40);
LUMETRA_NODE_OFFSET(MediaParams, eccentricity, 44);
LUMETRA_NODE_OFFSET(MediaParams, extinctionSet, 52);
LUMETRA_NODE_OFFSET(MediaParams, extinction, 56);
LUMETRA_NODE_OFFSET(PatternParams, agateTurbulence, 4);
LUMETRA_NODE_OFFSET(PatternParams, gradient, 12);
LUMETRA_NODE_OFFSET(PatternParams, mandelIterations, 36);
LUMETRA_NODE_OFFSET(PatternParams, quilt, 40);
LUMETRA_NODE_OFFSET(PatternParams, spiralArms, 56);
LUMETRA_NODE_OFFSET(PatternParams, extra, 324);
LUMETRA_NODE_OFFSET(PatternParams, colorMapCount, 328);
LUMETRA_NODE_OFFSET(PatternParams, colorMap, 332);
LUMETRA_NODE_OFFSET(BlockParams, brickSize, 4);
LUMETRA_NODE_OFFSET(BlockParams, mortar, 28);
LUMETRA_NODE_OFFSET(BlockParams, colors, 36);
LUMETRA_NODE_OFFSET(ImageParams, mapType, 256);
LUMETRA_NODE_OFFSET(ImageParams, interpolation, 260);
LUMETRA_NODE_OFFSET(ImageParams, once, 264);
LUMETRA_NODE_OFFSET(ImageParams, interpolate, 268);
LUMETRA_NODE_OFFSET(ImageParams, alphaMode, 272);
LUMETRA_NODE_OFFSET(ImageParams, useIndex, 276);
LUMETRA_NODE_OFFSET(ImageParams, filterAll, 280);
LUMETRA_NODE_OFFSET(ImageParams, transmitAll, 284);
LUMETRA_NODE_OFFSET(ImageParams, extraFlagA, 2340);
LUMETRA_NODE_OFFSET(ImageParams, extraValues, 2344);
LUMETRA_NODE_OFFSET(ImageParams, extraFlagB, 4404);
LUMETRA_NODE_OFFSET(NoiseModifierParams, turbulence, 4);
LUMETRA_NODE_OFFSET(NoiseModifierParams, turbulenceXyz, 12);
LUMETRA_NODE_OFFSET(NoiseModifierParams, octaves, 36);
LUMETRA_NODE_OFFSET(NoiseModifierParams, omega, 40);
LUMETRA_NODE_OFFSET(NoiseModifierParams, lambda, 48);
LUMETRA_NODE_OFFSET(NoiseModifierParams, frequency, 56);
LUMETRA_NODE_OFFSET(NoiseModifierParams, phase, 64);
LUMETRA_NODE_OFFSET(NoiseModifierParams, waveShape, 72);
LUMETRA_NODE_OFFSET(WarpParams, centre, 4);
LUMETRA_NODE_OFFSET(WarpParams, radius, 28);
LUMETRA_NODE_OFFSET(WarpParams, falloff, 36);
LUMETRA_NODE_OFFSET(WarpParams, strength, 44);
LUMETRA_NODE_OFFSET(WarpParams, repeat, 52);
LUMETRA_NODE_OFFSET(WarpParams, jitter, 76);
LUMETRA_NODE_OFFSET(WarpParams, inverse, 100);
LUMETRA_NODE_OFFSET(WarpParams, width, 108);
LUMETRA_NODE_OFFSET(WarpParams, offset, 132);
LUMETRA_NODE_OFFSET(WarpParams, flip, 156);
LUMETRA_NODE_OFFSET(WarpParams, turbulence, 180);
LUMETRA_NODE_OFFSET(WarpParams, octaves, 204);
LUMETRA_NODE_OFFSET(WarpParams, omega, 208);
LUMETRA_NODE_OFFSET(WarpParams, lambda, 216);
#undef LUMETRA_NODE_OFFSET

}  // namespace lumetra::abi
