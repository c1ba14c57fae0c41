#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumetra::platform {

// Paths kept in settings may use the backslashes of their Windows origin; the file
// system here wants slashes.
inline std::filesystem::path NativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace lumetra::platform
