// Entries about the library itself: its version and the reason of a failed creating entry.
#include <cstdarg>
#include <cstdio>

#include "api_support.h"

namespace lumetra::renderlib {
namespace {

// A fixed buffer, so that a reason can be kept even when memory has run out; per thread, as
// scenes on different threads are independent.
thread_local char last_error[256];

}  // namespace

void clearLastError() noexcept { last_error[0] = '\0'; }

bool hasLastError() noexcept { return last_error[0] != '\0'; }

uint32_t refuse(const char* format, ...) noexcept {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(last_error, sizeof last_error, format, arguments);
  va_end(arguments);
  return 0;
}

}  // namespace lumetra::renderlib

extern "C" {

uint32_t GetLibraryVersion(void) { return LUMETRA2_VERSION; }

const char* GetLastErrorMessage(void) { return lumetra::renderlib::last_error; }

}  // extern "C"
