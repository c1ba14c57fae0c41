// Entries this build does not implement yet: creating entries make nothing (0), the others
// answer L2_ERROR_UNSUPPORTED. docs/render-library.md lists them.
#include "lumetra2.h"

namespace {

constexpr int32_t kUnsupported = L2_ERROR_UNSUPPORTED;

}  // namespace

extern "C" {








int32_t Outline(L2Scene, L2View, const L2Rect*, uint32_t, L2AbortCallback, L2LineCallback, void*) {
  return kUnsupported;
}
int32_t HiddenLine(L2Scene, L2View, const L2Rect*, uint32_t, L2AbortCallback, L2PixelCallback, void*) {
  return kUnsupported;
}

}  // extern "C"
