#pragma once

#include "ui/window_toolkit.h"

namespace lumetra::plugin {

// The companion library's file name; it lies beside the plug-in module.
inline constexpr char kQtToolkitLibrary[] = "liblumetra-ui-qt.so";

// The plug-in's windows in Qt when the host runs a Qt application, else null: then the
// plug-in keeps its toolkit-free controllers. The companion is only looked for when Qt is
// already in the process, so a host without Qt never loads it; once loaded it stays, since
// the windows it made may outlive a reload of the plug-in.
ui::WindowToolkit* LoadWindowToolkit();

}  // namespace lumetra::plugin
