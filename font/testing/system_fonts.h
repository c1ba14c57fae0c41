#pragma once

#include <optional>
#include <string>

namespace lumetra::font::testing {

// An installed font file by its file name ("DejaVuSans.ttf"): first where Debian's
// fonts-liberation and fonts-dejavu-core put theirs, then any that fontconfig lists.
// Tests that need one skip, saying MissingFont(name), when there is none.
std::optional<std::string> SystemFont(const std::string& fileName);
std::string MissingFont(const std::string& fileName);

}  // namespace lumetra::font::testing
