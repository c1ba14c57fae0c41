#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

constexpr uint32_t kViewRecordVersion = 106;
constexpr int32_t kViewCount = 4;
constexpr uint32_t kViewMaximised = 0x1;

// View record of GetViewInfo / SetViewInfo: one of the host's four views. The caller
// sets the version word. Data only: 96 bytes in every build.
struct ViewRecord {
  uint32_t version;     // 0
  int32_t left;         // 4: the view's rectangle in the host's view area
  int32_t top;          // 8
  int32_t right;        // 12
  int32_t bottom;       // 16
  uint32_t window;      // 20: 32-bit id of the view's window, 0 without one
  uint32_t flags;       // 24: kViewMaximised
  uint32_t projection;  // 28: 0 top, 1 front, 2 side, 3 camera
  double zoom;          // 32
  double centre[3];     // 40
  char name[20];        // 64
  uint32_t areaWidth;   // 84: the whole view area of the host
  uint32_t areaHeight;  // 88
  uint32_t reserved;    // 92
};

static_assert(sizeof(ViewRecord) == 96);
static_assert(offsetof(ViewRecord, left) == 4);
static_assert(offsetof(ViewRecord, bottom) == 16);
static_assert(offsetof(ViewRecord, flags) == 24);
static_assert(offsetof(ViewRecord, zoom) == 32);
static_assert(offsetof(ViewRecord, name) == 64);
static_assert(offsetof(ViewRecord, areaWidth) == 84);
static_assert(offsetof(ViewRecord, areaHeight) == 88);

}  // namespace lumetra::abi
