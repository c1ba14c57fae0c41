#include "plugin/pov_extension.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/debug_log.h"
#include "platform/native_path.h"
#include "platform/profile_file.h"

namespace lumetra::plugin {
namespace {

constexpr const char* kHostConfigKey = "Software\\Ostrana\\Zarvel For Windows\\Config";
constexpr const char* kPovRayKey = "Software\\POV-Ray\\CurrentVersion\\Windows";
constexpr const char* kSection = "GUIExtensions";
constexpr const char* kSlot = "ExtDll29";
constexpr const char* kFreeSlot = "NotSetYet";
constexpr uint32_t kPathBytes = 512;

// Reads one string value of a key opened for reading; empty when anything fails.
std::string ReadString(const platform::Registry& registry, platform::RegistryRoot root, const char* keyPath,
                       const char* name) {
  platform::RegistryKey key;
  if (registry.OpenKey(root, keyPath, platform::RegistryAccess::Read, key) != platform::ERROR_SUCCESS) {
    return {};
  }
  std::string value;
  if (key.QueryString(name, value, kPathBytes) != platform::ERROR_SUCCESS) return {};
  return value;
}

}  // namespace

void RegisterPovExtension(const platform::Registry& registry) {
  const std::string pluginsPath =
      ReadString(registry, platform::RegistryRoot::CurrentUser, kHostConfigKey, "PluginsPath");
  if (pluginsPath.empty()) return;
  const std::string extension = pluginsPath + "Torvane.dll";
  std::error_code error;
  if (!std::filesystem::is_regular_file(platform::NativePath(extension), error)) return;

  const std::string home = ReadString(registry, platform::RegistryRoot::LocalMachine, kPovRayKey, "Home");
  if (home.empty()) return;
  const platform::ProfileFile ini(platform::NativePath(home + "\\ini\\pvengine.ini"));
  if (ini.GetString(kSection, "UseExtensions", "0", 256) != "1") return;
  if (ini.GetString(kSection, kSlot, kFreeSlot, kPathBytes) != kFreeSlot) return;
  // A file that cannot be written keeps the slot free for the next start.
  if (const std::error_code written = ini.WriteString(kSection, kSlot, extension)) {
    platform::DebugLog::Printf("Failed to register the POV-Ray extension in %s: %s\n", ini.Path().c_str(),
                               written.message().c_str());
  }
}

}  // namespace lumetra::plugin
