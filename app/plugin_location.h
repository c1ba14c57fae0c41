#pragma once

#include <string>

namespace lumetra::app {

// The plug-in the host loads: the --plugin option, else $LUMETRA_PLUGIN, else
// liblumetra.so beside the lumetra executable (build tree) or in ../lib (installed).
std::string LocatePlugin(const std::string& option);

}  // namespace lumetra::app
