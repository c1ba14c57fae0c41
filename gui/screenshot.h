// A picture of the program's windows as they stand on the screen.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class QWidget;

namespace lumetra::gui {

struct WindowPicture {
  QPoint position;  // on the screen
  QImage image;
  QString title;
};

// Where a window's picture lies on a canvas.
struct PlacedWindow {
  QString title;
  QRect rect;
};

// The pictures on one canvas, each where it stands relative to the others, the canvas just
// big enough for all of them; later pictures lie over earlier ones. `placed`, when given,
// learns where each one went.
QImage Composite(const std::vector<WindowPicture>& pictures, std::vector<PlacedWindow>* placed = nullptr);

// The main window and, over it, every other visible window of the process (render
// windows, dialogs), modal dialogs over the rest.
QImage GrabWindows(QWidget& main, std::vector<PlacedWindow>* placed = nullptr);

// Writes the picture as a PNG file in one piece; an empty text, or why it could not.
QString SavePng(const QImage& picture, const QString& path);

}  // namespace lumetra::gui
