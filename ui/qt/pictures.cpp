#include "ui/qt/pictures.h"

#include <array>
#include <cstdlib>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace lumetra::ui::qt {
namespace {

constexpr int kTriangleWidth = 6;
constexpr int kTriangleHeight = 11;

// Crisp triangles at this size come from whole rows, not from an anti-aliased polygon.
void Triangle(QPainter& painter, int left, bool pointsRight) {
  const int middle = kTriangleHeight / 2;
  for (int row = 0; row < kTriangleHeight; ++row) {
    const int inset = std::abs(row - middle);
    const int first = pointsRight ? left : left + inset;
    const int last = pointsRight ? left + kTriangleWidth - 1 - inset : left + kTriangleWidth - 1;
    painter.drawLine(first, row, last, row);
  }
}

void Bar(QPainter& painter, int left) {
  painter.fillRect(left, 0, 2, kTriangleHeight, painter.pen().color());
}

void DrawTransport(QPainter& painter, uint32_t control) {
  switch (control) {
    case kGoToStart:
      Bar(painter, 3);
      Triangle(painter, 6, false);
      break;
    case kStepBack:
      Triangle(painter, 2, false);
      Triangle(painter, 8, false);
      break;
    case kPlay:
      Triangle(painter, 5, true);
      break;
    case kStepForward:
      Triangle(painter, 2, true);
      Triangle(painter, 8, true);
      break;
    case kGoToEnd:
      Triangle(painter, 4, true);
      Bar(painter, 11);
      break;
    default:
      break;
  }
}

}  // namespace

QIcon TransportIcon(uint32_t control) {
  // Disabled, the picture is grey and etched: a light copy one pixel down and right.
  QPixmap normal(kTransportSize), disabled(kTransportSize);
  normal.fill(Qt::transparent);
  disabled.fill(Qt::transparent);
  QPainter painter(&normal);
  DrawTransport(painter, control);
  painter.end();
  painter.begin(&disabled);
  painter.setPen(Qt::white);
  painter.translate(1, 1);
  DrawTransport(painter, control);
  painter.setPen(QColor(0xA0, 0xA0, 0xA0));
  painter.translate(-1, -1);
  DrawTransport(painter, control);
  painter.end();
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(disabled, QIcon::Disabled);
  return icon;
}

QPixmap KeyButtonPicture(KeyPicture picture) {
  const int width = kKeyPictureSize.width(), height = kKeyPictureSize.height();
  QPainterPath key;
  key.addEllipse(QRectF(0.5, 2.5, 9, 9));
  key.addRect(QRectF(9, 5.5, 12, 3));
  key.addRect(QRectF(14, 8.5, 2, 3));
  key.addRect(QRectF(18, 8.5, 2.5, 4));
  key = key.simplified();
  QPainterPath hole;
  hole.addEllipse(QRectF(3, 5, 4, 4));
  key = key.subtracted(hole);

  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor red(0xD0, 0x10, 0x10);
  if (picture == KeyPicture::AtKey) painter.fillPath(key, red);
  if (picture == KeyPicture::BetweenKeys) {
    painter.save();
    painter.setClipRect(0, height / 2, width, height - height / 2);
    painter.fillPath(key, red);
    painter.restore();
  }
  painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
  painter.drawPath(key);
  return pixmap;
}

QPixmap KeyMarkPicture(KeyMark mark) {
  // '#' outline, '.' inside, ' ' clear: a tab pointing down at its time.
  static constexpr std::array<const char*, kKeyMarkHeight> kShape = {
      "#######", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", " #...# ", "  #.#  ", "   #   ",
  };
  struct Colours {
    QColor outline;
    QColor inside;
  };
  static const std::array<Colours, 5> kColours = {{
      {QColor(0x60, 0x00, 0x00), QColor(0xE0, 0x10, 0x10)},  // at the position
      {QColor(0x00, 0x20, 0x70), QColor(0x30, 0x70, 0xE0)},  // dragged, at its new time
      {QColor(0x60, 0x40, 0x00), QColor(0xFF, 0xC8, 0x20)},  // hovered
      {QColor(0x90, 0x90, 0x90), Qt::transparent},           // where the dragged key started
      {QColor(0x00, 0x00, 0x00), QColor(0x58, 0x58, 0x58)},  // normal
  }};
  const Colours& colours = kColours[static_cast<size_t>(mark)];
  QImage image(kKeyMarkWidth, kKeyMarkHeight, QImage::Format_ARGB32);
  for (int y = 0; y < kKeyMarkHeight; ++y) {
    for (int x = 0; x < kKeyMarkWidth; ++x) {
      const char cell = kShape[static_cast<size_t>(y)][x];
      const QColor colour = cell == '#'   ? colours.outline
                            : cell == '.' ? colours.inside
                                          : QColor(Qt::transparent);
      image.setPixelColor(x, y, colour);
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace lumetra::ui::qt
