#pragma once

#include <string>

namespace plugin {

// Full path of the loaded plug-in module, empty when it is not known.
const std::string& ModulePath();

}  // namespace plugin
