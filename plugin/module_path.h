#pragma once

#include <string>

namespace lumetra::plugin {

// Full path of the loaded plug-in module, empty when it is not known.
const std::string& ModulePath();

}  // namespace lumetra::plugin
