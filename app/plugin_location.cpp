#include "app/plugin_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lumetra::app {

std::string LocatePlugin(const std::string& option) {
  if (!option.empty()) return option;
  if (const char* env = std::getenv("LUMETRA_PLUGIN"); env && *env) return env;
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "liblumetra.so";
  const auto dir = exe.parent_path();
  const auto installed = (dir / LUMETRA_INSTALLED_PLUGIN_DIR / "liblumetra.so").lexically_normal();
  for (const auto& candidate : {dir / "liblumetra.so", installed}) {
    if (std::filesystem::exists(candidate, error)) return candidate.string();
  }
  return (dir / "liblumetra.so").string();
}

}  // namespace lumetra::app
