#include "translate/library_result.h"

#include <lumetra2.h>

#include "platform/debug_log.h"

namespace lumetra::translate {

void LogRefusal(std::int32_t result, const char* entry) {
  if (result != L2_OK) platform::DebugLog::Printf("%s refused (%d)\n", entry, result);
}

}  // namespace lumetra::translate
