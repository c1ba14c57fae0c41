#pragma once

#include <string>

namespace lumetra::app {

// The plug-in the host loads: the --plugin option, else $LUMETRA_PLUGIN, else
// liblumetra.so beside the lumetra executable (build tree), else where the installation puts
// it relative to the executable (../lib/lumetra under the usual prefix).
std::string LocatePlugin(const std::string& option);

}  // namespace lumetra::app
