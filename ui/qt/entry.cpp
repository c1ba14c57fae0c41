// The library's one export, looked up by name (ui::kWindowToolkitEntry) by the plug-in.
#include <type_traits>

#include "ui/qt/window_toolkit.h"

extern "C" __attribute__((visibility("default"))) lumetra::ui::WindowToolkit* LumetraWindowToolkit(
    uint32_t version) {
  return lumetra::ui::qt::QtWindowToolkit(version);
}

static_assert(std::is_same_v<decltype(&LumetraWindowToolkit), lumetra::ui::WindowToolkitEntry>);
