#include "gui/screenshot.h"

#include <algorithm>

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QWidget>

#include "platform/file_io.h"

namespace lumetra::gui {
namespace {

// What shows where no window covers the canvas.
const QColor kBareScreen(24, 26, 29);

bool IsOwnWindow(const QWidget& widget) {
  const Qt::WindowType type = widget.windowType();
  return widget.isVisible() && type != Qt::ToolTip && type != Qt::Popup && type != Qt::Desktop;
}

// The title as the window shows it, with the modified mark put in or left out.
QString ShownTitle(const QWidget& widget) {
  QString title = widget.windowTitle();
  return title.replace("[*]", widget.isWindowModified() ? "*" : "");
}

}  // namespace

QImage Composite(const std::vector<WindowPicture>& pictures, std::vector<PlacedWindow>* placed) {
  QRect canvas;
  for (const WindowPicture& picture : pictures) canvas |= QRect(picture.position, picture.image.size());
  QImage result(canvas.size(), QImage::Format_RGB32);
  result.fill(kBareScreen);
  QPainter painter(&result);
  for (const WindowPicture& picture : pictures) {
    const QPoint at = picture.position - canvas.topLeft();
    painter.drawImage(at, picture.image);
    if (placed) placed->push_back({picture.title, QRect(at, picture.image.size())});
  }
  return result;
}

QImage GrabWindows(QWidget& main, std::vector<PlacedWindow>* placed) {
  std::vector<WindowPicture> pictures{
      {main.mapToGlobal(QPoint(0, 0)), main.grab().toImage(), ShownTitle(main)}};
  std::vector<QWidget*> others;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != &main && IsOwnWindow(*widget)) others.push_back(widget);
  }
  // A modal dialog stands over the windows it blocks, the one taking input over all.
  const auto layer = [](const QWidget* widget) {
    return widget == QApplication::activeModalWidget() ? 2 : widget->isModal() ? 1 : 0;
  };
  std::stable_sort(others.begin(), others.end(),
                   [&](const QWidget* a, const QWidget* b) { return layer(a) < layer(b); });
  for (QWidget* widget : others) {
    pictures.push_back({widget->mapToGlobal(QPoint(0, 0)), widget->grab().toImage(), ShownTitle(*widget)});
  }
  return Composite(pictures, placed);
}

QString SavePng(const QImage& picture, const QString& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (picture.isNull() || !picture.save(&buffer, "PNG")) return QObject::tr("the picture cannot be made");
  const std::error_code error =
      platform::WriteFileAtomically(path.toStdString(), {bytes.constData(), size_t(bytes.size())});
  return error ? QString::fromStdString(error.message()) : QString();
}

}  // namespace lumetra::gui
