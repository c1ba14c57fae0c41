#pragma once

#include <string>
#include <vector>

namespace lumetra::platform {

// Stand-in for the debugger output: lines the user cannot act on. Each line
// goes to stderr when LUMETRA_DEBUG=1 and is always kept in a bounded ring
// that tests read back. Lines are kept as given; callers end them with '\n'.
class DebugLog {
 public:
  static constexpr std::size_t kCapacity = 1024;

  static void Write(const std::string& line);
  static void Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

  // Oldest first; at most kCapacity lines.
  static std::vector<std::string> Lines();
  static void Clear();
};

}  // namespace lumetra::platform
