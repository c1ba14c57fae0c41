#include "platform/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

namespace lumetra::platform {
namespace {

struct Ring {
  std::mutex mutex;
  std::deque<std::string> lines;
};

Ring& TheRing() {
  static Ring ring;
  return ring;
}

bool EchoToStderr() {
  static const bool echo = [] {
    const char* value = std::getenv("LUMETRA_DEBUG");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return echo;
}

}  // namespace

void DebugLog::Write(const std::string& line) {
  if (EchoToStderr()) {
    std::fwrite(line.data(), 1, line.size(), stderr);
  }
  Ring& ring = TheRing();
  std::lock_guard lock(ring.mutex);
  if (ring.lines.size() == kCapacity) {
    ring.lines.pop_front();
  }
  ring.lines.push_back(line);
}

void DebugLog::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string line;
  if (length > 0) {
    line.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(line.data(), line.size(), format, args);
    line.pop_back();
  }
  va_end(args);
  Write(line);
}

std::vector<std::string> DebugLog::Lines() {
  Ring& ring = TheRing();
  std::lock_guard lock(ring.mutex);
  return {ring.lines.begin(), ring.lines.end()};
}

void DebugLog::Clear() {
  Ring& ring = TheRing();
  std::lock_guard lock(ring.mutex);
  ring.lines.clear();
}

}  // namespace lumetra::platform
