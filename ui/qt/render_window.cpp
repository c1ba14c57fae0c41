#include "ui/qt/render_window.h"

#include <algorithm>
#include <mutex>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace lumetra::ui::qt {

PictureArea::PictureArea(int width, int height, QWidget* parent)
    : QWidget(parent), image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.fill(Qt::black);
  setFixedSize(image_.size());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureArea::Put(const QPoint& at, const QImage& patch) {
  QPainter painter(&image_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(at, patch);
  update(QRect(at, patch.size()));
}

void PictureArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

RenderWindow::RenderWindow(QWidget* owner, const QString& title, int width, int height,
                           std::function<void()> closed)
    : QWidget(owner, Qt::Window), closed_(std::move(closed)) {
  setObjectName("RenderWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);

  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  picture_ = new PictureArea(width, height, scroller);
  scroller->setWidget(picture_);

  auto* statusBar = new QStatusBar(this);
  // A window as narrow as a small picture clips the parts rather than growing.
  statusBar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  for (int part = 0; part < kStatusParts; ++part) {
    auto* label = new QLabel(statusBar);
    label->setObjectName(QString("status%1").arg(part));
    if (part + 1 < kStatusParts) label->setFixedWidth(kStatusPartWidth);
    statusBar->addWidget(label, part + 1 < kStatusParts ? 0 : 1);
    status_[static_cast<size_t>(part)] = label;
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scroller, 1);
  layout->addWidget(statusBar);

  QSize most = picture_->size() + QSize(0, statusBar->sizeHint().height());
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen) most = most.boundedTo(screen->availableGeometry().size());
  setMaximumSize(most);
  resize(most);
}

void RenderWindow::SetStatus(int part, const QString& text) {
  if (part >= 0 && part < kStatusParts) status_[static_cast<size_t>(part)]->setText(text);
}

void RenderWindow::closeEvent(QCloseEvent* event) {
  if (closed_) closed_();
  event->accept();
}

QImage CopyPatch(const render::PixelRect& changed, const uint8_t* pixels, int32_t width, int32_t height,
                 QPoint& at) {
  if (changed.Empty() || !pixels) return {};
  const int left = std::max(changed.left, 0), top = std::max(changed.top, 0);
  const int right = std::min(changed.right, width), bottom = std::min(changed.bottom, height);
  if (left >= right || top >= bottom) return {};
  QImage patch(right - left, bottom - top, QImage::Format_RGB32);
  for (int y = top; y < bottom; ++y) {
    const uint8_t* source =
        pixels +
        (static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) + static_cast<size_t>(left)) * 4;
    auto* target = reinterpret_cast<QRgb*>(patch.scanLine(y - top));
    for (int x = left; x < right; ++x, source += 4) *target++ = qRgb(source[2], source[1], source[0]);
  }
  at = QPoint(left, top);
  return patch;
}

namespace {

// What a view shares with the calls it queued. The GUI thread alone touches `window`;
// `closed` is dropped by the view's destructor, under the lock, so a user closing the
// window at that moment either finishes telling the job first or tells nobody.
struct Link {
  std::recursive_mutex mutex;
  std::function<void()> closed;
  QPointer<RenderWindow> window;

  void UserClosed() {
    const std::lock_guard lock(mutex);
    if (closed) closed();
  }
};

// A new render window stands a little inside its owner's top left corner, each further
// one cascaded below and to the right of the last, as windows placed by default are.
void PlaceOverOwner(RenderWindow& window, const QWidget& owner) {
  constexpr int kInset = 48, kCascade = 24, kCascades = 8;
  int others = 0;
  for (const QWidget* top : QApplication::topLevelWidgets()) {
    if (top != &window && top->isVisible() && qobject_cast<const RenderWindow*>(top)) ++others;
  }
  const int step = kInset + kCascade * (others % kCascades);
  window.move(owner.geometry().topLeft() + QPoint(step, step));
}

template <typename Call>
void Queue(Call call) {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    QMetaObject::invokeMethod(application, std::move(call), Qt::QueuedConnection);
  }
}

class QueuedRenderWindow final : public render::RenderWindowView {
 public:
  QueuedRenderWindow(uint32_t parent, const std::string& title, int32_t width, int32_t height,
                     std::function<void()> closed)
      : link_(std::make_shared<Link>()) {
    link_->closed = std::move(closed);
    Queue([link = link_, parent, title = QString::fromStdString(title), width, height] {
      QWidget* host = parent != 0 ? QWidget::find(static_cast<WId>(parent)) : nullptr;
      link->window = new RenderWindow(host ? host->window() : nullptr, title, width, height,
                                      [weak = std::weak_ptr<Link>(link)] {
                                        if (const auto alive = weak.lock()) alive->UserClosed();
                                      });
      if (host) PlaceOverOwner(*link->window, *host->window());
    });
  }

  void Show() override {
    Queue([link = link_] {
      if (!link->window) return;
      link->window->setAttribute(Qt::WA_ShowWithoutActivating);
      link->window->show();
      link->window->raise();
    });
  }

  ~QueuedRenderWindow() override {
    {
      const std::lock_guard lock(link_->mutex);
      link_->closed = nullptr;
    }
    Queue([link = link_] { delete link->window.data(); });
  }

  void SetTitle(const std::string& title) override {
    Queue([link = link_, title = QString::fromStdString(title)] {
      if (link->window) link->window->setWindowTitle(title);
    });
  }

  void SetStatus(int32_t part, const std::string& text) override {
    Queue([link = link_, part, text = QString::fromStdString(text)] {
      if (link->window) link->window->SetStatus(part, text);
    });
  }

  void Paint(const render::PixelRect& changed, const uint8_t* pixels, int32_t width,
             int32_t height) override {
    QPoint at;
    QImage patch = CopyPatch(changed, pixels, width, height, at);
    if (patch.isNull()) return;
    Queue([link = link_, at, patch = std::move(patch)] {
      if (link->window) link->window->Put(at, patch);
    });
  }

 private:
  std::shared_ptr<Link> link_;
};

}  // namespace

std::unique_ptr<render::RenderWindowView> MakeRenderWindowView(uint32_t parent, const std::string& title,
                                                               int32_t width, int32_t height,
                                                               std::function<void()> closed) {
  return std::make_unique<QueuedRenderWindow>(parent, title, width, height, std::move(closed));
}

}  // namespace lumetra::ui::qt
