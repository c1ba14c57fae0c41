#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace CLI {
class App;
}

namespace lumetra::app {

// `lumetra settings [--json] [--set NAME=VALUE ...]`: the plug-in's render settings and
// animation defaults as it reads them from the registry, and changes to them with the
// options sheet's checks. Needs no plug-in: the names, defaults and ranges are the abi's.
void RegisterSettingsCommand(CLI::App& root, int& exitCode);

// Returns the exit code: 0, or 1 when a change is refused (then nothing is written) or
// the registry cannot be written.
int RunSettings(const platform::Registry& registry, const std::vector<std::string>& changes, bool json,
                std::ostream& out, std::ostream& err);

}  // namespace lumetra::app
