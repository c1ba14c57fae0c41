// The host's view area: the window the plug-in's control bar lives in, holding the four
// views at the rectangles of the scene's view records.
#pragma once

#include <QWidget>
#include <array>

#include "abi/view_record.h"
#include "gui/scene_view.h"
#include "host/scene.h"

namespace lumetra::gui {

class ViewArea : public QWidget {
  Q_OBJECT

 public:
  explicit ViewArea(QWidget* parent = nullptr);

  // The id of the area's own window, which the plug-in parents its control bar in.
  uint32_t WindowId();
  void SetScene(const host::Scene* scene);
  // Moves the views to their records' rectangles; a maximised view alone is shown.
  void PlaceViews();
  void RepaintViews();
  SceneView& View(int index) { return *views_[static_cast<size_t>(index)]; }

 signals:
  void resized();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const host::Scene* scene_ = nullptr;
  std::array<SceneView*, abi::kViewCount> views_{};
};

// The host's own layout of the records over an area: a maximised view over all of it, else
// two by two (0 top left, 1 bottom left, 2 top right, 3 bottom right).
void LayOutTwoByTwo(std::array<abi::ViewRecord, abi::kViewCount>& views, int width, int height);

}  // namespace lumetra::gui
