#pragma once

#include <cstdint>

#include <QIcon>
#include <QPixmap>

#include "ui/bar_window.h"

namespace lumetra::ui::qt {

// The control bar's pictures, drawn here rather than loaded: the library carries no
// resource files beside it.

// The picture of transport button `control` (kGoToStart to kGoToEnd), with its own
// disabled look.
inline constexpr QSize kTransportSize(17, 12);
QIcon TransportIcon(uint32_t control);

// The key button's picture: an outlined key, a filled red key, or a key filled up to
// its middle.
inline constexpr QSize kKeyPictureSize(22, 14);
QPixmap KeyButtonPicture(KeyPicture picture);

// The slider's 7 x 9 key marks, centred on their column.
enum class KeyMark { AtPosition = 0, Dragged = 1, Hovered = 2, DragStart = 3, Normal = 4 };
inline constexpr int kKeyMarkWidth = 7;
inline constexpr int kKeyMarkHeight = 9;
QPixmap KeyMarkPicture(KeyMark mark);

}  // namespace lumetra::ui::qt
