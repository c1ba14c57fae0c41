#include "gui/view_area.h"

#include <QResizeEvent>

namespace lumetra::gui {

ViewArea::ViewArea(QWidget* parent) : QWidget(parent) {
  // A window of its own, so that its id can parent the plug-in's bar.
  setAttribute(Qt::WA_NativeWindow);
  setMinimumSize(320, 240);
  for (int index = 0; index < abi::kViewCount; ++index) {
    views_[static_cast<size_t>(index)] = new SceneView(index, this);
  }
}

uint32_t ViewArea::WindowId() { return static_cast<uint32_t>(winId()); }

void ViewArea::SetScene(const host::Scene* scene) {
  scene_ = scene;
  for (SceneView* view : views_) view->SetScene(scene);
  PlaceViews();
}

void ViewArea::PlaceViews() {
  if (!scene_) return;
  int maximised = -1;
  for (int index = 0; index < abi::kViewCount; ++index) {
    if (scene_->views[static_cast<size_t>(index)].flags & abi::kViewMaximised) maximised = index;
  }
  for (int index = 0; index < abi::kViewCount; ++index) {
    const abi::ViewRecord& record = scene_->views[static_cast<size_t>(index)];
    SceneView& view = *views_[static_cast<size_t>(index)];
    const QRect placed(record.left, record.top, record.right - record.left, record.bottom - record.top);
    const bool shown = (maximised < 0 || maximised == index) && placed.isValid();
    if (shown) view.setGeometry(placed);
    view.setVisible(shown);
  }
}

void ViewArea::RepaintViews() {
  for (SceneView* view : views_) view->update();
}

void ViewArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit resized();
}

void LayOutTwoByTwo(std::array<abi::ViewRecord, abi::kViewCount>& views, int width, int height) {
  const int halfWidth = width / 2, halfHeight = height / 2;
  for (int index = 0; index < abi::kViewCount; ++index) {
    abi::ViewRecord& view = views[static_cast<size_t>(index)];
    view.areaWidth = static_cast<uint32_t>(width);
    view.areaHeight = static_cast<uint32_t>(height);
    if (view.flags & abi::kViewMaximised) {
      view.left = 0;
      view.top = 0;
      view.right = width;
      view.bottom = height;
      continue;
    }
    view.left = index < 2 ? 0 : halfWidth;
    view.top = index % 2 == 0 ? 0 : halfHeight;
    view.right = index < 2 ? halfWidth : width;
    view.bottom = index % 2 == 0 ? halfHeight : height;
  }
}

}  // namespace lumetra::gui
