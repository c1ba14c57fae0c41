#pragma once

#include <cstdint>

#include "ui/window_toolkit.h"

namespace lumetra::ui::qt {

// The Qt windows for interface `version`, or null when that version is unknown or the
// process runs no QApplication. The library's exported entry answers with it.
WindowToolkit* QtWindowToolkit(uint32_t version);

}  // namespace lumetra::ui::qt
