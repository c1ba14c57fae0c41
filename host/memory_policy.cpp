#include "host/memory_policy.h"

#include <malloc.h>

#include "platform/debug_log.h"

namespace lumetra::host {

void ReturnLargeBlocksAtOnce() {
  // Blocks of a mebibyte and more get their own mapping, released by free. Setting the
  // threshold also stops glibc from raising it after each large free.
  constexpr int kOwnMappingFrom = 1 << 20;
  if (mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom) == 0) {
    platform::DebugLog::Write(
        "The C library refused the mapping threshold: large blocks stay in its heap.\n");
  }
}

}  // namespace lumetra::host
