#include "app/settings_overlay.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

#include "host/host_context.h"
#include "platform/config_paths.h"
#include "platform/registry.h"

namespace lumetra::app {
namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

}  // namespace

SettingsOverlay::SettingsOverlay()
    : oldUserHome_(Environment("LUMETRA_CONFIG_HOME")),
      oldMachineHome_(Environment("LUMETRA_MACHINE_CONFIG")) {
  const std::filesystem::path user = platform::UserConfigDirectory();
  const std::filesystem::path machine = platform::MachineConfigDirectory();
  std::string pattern = (std::filesystem::temp_directory_path() / "lumetra-settings-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a folder for this run's settings");
  }
  directory_ = pattern;
  std::error_code error;
  const auto userFile = user / platform::Registry::kUserFileName;
  if (std::filesystem::exists(userFile, error)) {
    std::filesystem::copy_file(userFile, directory_ / platform::Registry::kUserFileName, error);
    if (error) throw std::runtime_error("cannot copy " + userFile.string() + ": " + error.message());
  }
  setenv("LUMETRA_MACHINE_CONFIG", machine.c_str(), 1);
  setenv("LUMETRA_CONFIG_HOME", directory_.c_str(), 1);
}

SettingsOverlay::~SettingsOverlay() {
  Restore("LUMETRA_CONFIG_HOME", oldUserHome_);
  Restore("LUMETRA_MACHINE_CONFIG", oldMachineHome_);
  std::error_code ignored;  // a temporary folder left behind harms nobody
  std::filesystem::remove_all(directory_, ignored);
}

void SettingsOverlay::SetRenderMethod(abi::RenderMethodId method) {
  platform::Registry registry(directory_, platform::MachineConfigDirectory());
  platform::RegistryKey key;
  if (registry.CreateKey(platform::RegistryRoot::CurrentUser,
                         std::string(host::kRegistryBase) + abi::kSettingsKeyName,
                         platform::RegistryAccess::All, key) != platform::ERROR_SUCCESS ||
      key.SetDword(abi::kRenderMethodValue, static_cast<uint32_t>(method)) != platform::ERROR_SUCCESS) {
    throw std::runtime_error(std::string("cannot store ") + abi::kRenderMethodValue + " for this run");
  }
}

}  // namespace lumetra::app
