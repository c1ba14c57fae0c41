#include "platform/config_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace lumetra::platform {
namespace {

const char* NonEmptyEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

std::filesystem::path HomeDirectory() {
  if (const char* home = NonEmptyEnvironment("HOME")) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

}  // namespace

std::filesystem::path UserConfigDirectory() {
  if (const char* dir = NonEmptyEnvironment("LUMETRA_CONFIG_HOME")) return dir;
  if (const char* xdg = NonEmptyEnvironment("XDG_CONFIG_HOME")) return std::filesystem::path(xdg) / "lumetra";
  return HomeDirectory() / ".config" / "lumetra";
}

std::filesystem::path MachineConfigDirectory() {
  if (const char* dir = NonEmptyEnvironment("LUMETRA_MACHINE_CONFIG")) return dir;
  return UserConfigDirectory();
}

}  // namespace lumetra::platform
