#include "platform/thread_count.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <thread>

namespace lumetra::platform {

int ThreadsToUse() {
  if (const char* text = std::getenv("LUMETRA_THREADS")) {
    const std::string_view given(text);
    int count = 0;
    const auto [stop, error] = std::from_chars(given.data(), given.data() + given.size(), count);
    if (error == std::errc() && stop == given.data() + given.size() && count > 0) return count;
  }
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace lumetra::platform
