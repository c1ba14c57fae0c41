#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QImage>
#include <QWidget>

#include "render/render_window_view.h"

class QLabel;

namespace lumetra::ui::qt {

// The picture of a render window at its own size; grows as patches arrive.
class PictureArea final : public QWidget {
  Q_OBJECT

 public:
  PictureArea(int width, int height, QWidget* parent);
  void Put(const QPoint& at, const QImage& patch);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// A job's render window: its picture above a status bar of three parts. It never grows
// beyond the picture, and scrolls when the user makes it smaller. Closing it tells
// `closed`, and the window goes away.
class RenderWindow final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStatusParts = 3;
  static constexpr int kStatusPartWidth = 64;  // the first two; the last takes the rest

  RenderWindow(QWidget* owner, const QString& title, int width, int height, std::function<void()> closed);

  void SetStatus(int part, const QString& text);
  void Put(const QPoint& at, const QImage& patch) { picture_->Put(at, patch); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  PictureArea* picture_;
  std::array<QLabel*, kStatusParts> status_{};
  std::function<void()> closed_;
};

// The `changed` part of a picture of bottom-up blue, green, red, alpha rows, as a patch
// to draw at `at`; null when nothing of it lies inside the picture.
QImage CopyPatch(const render::PixelRect& changed, const uint8_t* pixels, int32_t width, int32_t height,
                 QPoint& at);

// A render window owned by the window of the widget whose native window is `parent`.
// Returns at once from any thread: the window is made, changed and finally deleted by
// calls queued to the GUI thread, which the caller never waits for.
std::unique_ptr<render::RenderWindowView> MakeRenderWindowView(uint32_t parent, const std::string& title,
                                                               int32_t width, int32_t height,
                                                               std::function<void()> closed);

}  // namespace lumetra::ui::qt
