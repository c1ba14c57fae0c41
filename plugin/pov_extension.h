#pragma once

#include "platform/registry.h"

namespace lumetra::plugin {

// Registers the POV-Ray GUI extension that hands renders back to the plug-in: when the
// host's plug-in folder holds Torvane.dll and POV-Ray's configuration file has
// extensions switched on with the slot "ExtDll29" still free, the slot gets the
// extension's full path. Any problem ends the registration silently.
void RegisterPovExtension(const platform::Registry& registry);

}  // namespace lumetra::plugin
