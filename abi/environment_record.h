#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

constexpr uint32_t kEnvironmentVersion = 102;

// Environment record of GetEnvironment (the caller sets the version word). Data only,
// packed to four bytes: 516 bytes in every build.
#pragma pack(push, 4)
struct EnvironmentRecord {
  uint32_t version;  // 0
  uint32_t reserved4;
  double background[3];    // 8
  double ambient[3];       // 32
  uint32_t maxDepth;       // 56: maximum tracing depth
  uint32_t textureEngine;  // 60: value handed to the procedural texture engine
  double minWeight;        // 64: minimum tracing weight
  char mediaName[64];      // 72: name of the scene-wide media, empty for none
  uint8_t reserved136[380];
};
#pragma pack(pop)

static_assert(sizeof(EnvironmentRecord) == 516);
static_assert(offsetof(EnvironmentRecord, background) == 8);
static_assert(offsetof(EnvironmentRecord, ambient) == 32);
static_assert(offsetof(EnvironmentRecord, maxDepth) == 56);
static_assert(offsetof(EnvironmentRecord, textureEngine) == 60);
static_assert(offsetof(EnvironmentRecord, minWeight) == 64);
static_assert(offsetof(EnvironmentRecord, mediaName) == 72);

}  // namespace lumetra::abi
