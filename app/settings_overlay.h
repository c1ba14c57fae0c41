#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "abi/render_methods.h"

namespace lumetra::app {

// One run's changes to the plug-in's settings without touching the user's: a private
// copy of the user's registry file that the plug-in reads instead (through
// $LUMETRA_CONFIG_HOME), removed again at the end. The machine's settings stay where
// they are. Make it before the plug-in is loaded.
class SettingsOverlay {
 public:
  SettingsOverlay();
  ~SettingsOverlay();
  SettingsOverlay(const SettingsOverlay&) = delete;
  SettingsOverlay& operator=(const SettingsOverlay&) = delete;

  // The render method the plug-in renders with in this run.
  void SetRenderMethod(abi::RenderMethodId method);

 private:
  std::filesystem::path directory_;
  std::optional<std::string> oldUserHome_;
  std::optional<std::string> oldMachineHome_;
};

}  // namespace lumetra::app
