#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"

namespace lumetra::abi {

constexpr uint32_t kPreviewRecordVersion = 101;

// Callbacks through which a render draws into a host view while it runs.
using PreviewPutPixel = void(LUMETRA_STDCALL*)(int32_t view, int32_t x, int32_t y, uint8_t red, uint8_t green,
                                               uint8_t blue, uint8_t alpha);
using PreviewChanged = void(LUMETRA_STDCALL*)(int32_t view, int32_t left, int32_t top, int32_t right,
                                              int32_t bottom);

// Preview record of GetPreviewInfo(view, record); the caller sets the version word.
// 32 bytes in the 32-bit layout; the two callbacks widen to 8 bytes each on 64-bit (40).
struct PreviewRecord {
  uint32_t version;          // 0
  uint32_t capable;          // 4: the view is a window that can show a render
  uint32_t width;            // 8
  uint32_t height;           // 12
  float aspect;              // 16: width / height
  uint32_t window;           // 20: 32-bit window id
  PreviewPutPixel putPixel;  // 24
  PreviewChanged changed;    // 28 (32 on 64-bit)
};

static_assert(offsetof(PreviewRecord, aspect) == 16);
static_assert(offsetof(PreviewRecord, putPixel) == 24);
static_assert(sizeof(void*) != 4 || sizeof(PreviewRecord) == 32);
static_assert(sizeof(void*) != 8 || offsetof(PreviewRecord, changed) == 32);
static_assert(sizeof(void*) != 8 || sizeof(PreviewRecord) == 40);

}  // namespace lumetra::abi
