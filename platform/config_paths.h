#pragma once

#include <filesystem>

namespace lumetra::platform {

// Where the user's settings live: $LUMETRA_CONFIG_HOME, else
// $XDG_CONFIG_HOME/lumetra, else ~/.config/lumetra.
std::filesystem::path UserConfigDirectory();

// Where the machine-wide settings live: $LUMETRA_MACHINE_CONFIG, else the
// user's directory (a single-user machine keeps both roots side by side).
std::filesystem::path MachineConfigDirectory();

}  // namespace lumetra::platform
