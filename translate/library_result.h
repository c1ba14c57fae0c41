#pragma once

#include <cstdint>

namespace lumetra::translate {

// A refused setting leaves the library's default in place and the translation goes on;
// the refusal goes to the debug log, naming the entry.
void LogRefusal(std::int32_t result, const char* entry);

}  // namespace lumetra::translate
