// One of the host's four views: the scene drawn in lines for its projection.
#pragma once

#include <QWidget>

#include "host/scene.h"

namespace lumetra::gui {

class SceneView : public QWidget {
  Q_OBJECT

 public:
  // The view of the scene's view record `index`.
  SceneView(int index, QWidget* parent = nullptr);

  void SetScene(const host::Scene* scene);
  int Index() const { return index_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int index_;
  const host::Scene* scene_ = nullptr;
};

}  // namespace lumetra::gui
