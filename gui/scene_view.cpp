#include "gui/scene_view.h"

#include <QPainter>
#include <cstring>

#include "abi/object_params.h"
#include "gui/wireframe.h"

namespace lumetra::gui {
namespace {

constexpr uint32_t kCameraProjection = 3;

const QColor kBackground(43, 45, 49);
const QColor kCameraBackground(36, 40, 48);
const QColor kFrame(80, 84, 92);
const QColor kLines(186, 190, 198);
const QColor kSelected(255, 170, 60);
const QColor kCameras(110, 190, 230);
const QColor kLabel(150, 155, 165);

}  // namespace

SceneView::SceneView(int index, QWidget* parent) : QWidget(parent), index_(index) {}

void SceneView::SetScene(const host::Scene* scene) {
  scene_ = scene;
  update();
}

void SceneView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!scene_) {
    painter.fillRect(rect(), kBackground);
    return;
  }
  const abi::ViewRecord& record = scene_->views[static_cast<size_t>(index_)];
  const bool throughCamera = record.projection == kCameraProjection;
  painter.fillRect(rect(), throughCamera ? kCameraBackground : kBackground);
  painter.setRenderHint(QPainter::Antialiasing);

  const std::vector<Segment> drawing = SceneWireframe(*scene_);
  const std::optional<CameraAim> aim = throughCamera ? ActiveCameraAim(*scene_) : std::nullopt;
  const ViewProjection projection =
      aim ? ViewProjection::Perspective(*aim, width(), height())
          : ViewProjection::Orthographic(record.projection, drawing, record.zoom, record.centre, width(),
                                         height());
  const auto colourOf = [&](uint32_t object) {
    if (object == scene_->selected) return kSelected;
    const host::SceneObject* found = scene_->Find(object);
    return found && found->type == abi::kTypeCamera ? kCameras : kLines;
  };
  // The selected object last, so that it lies on top.
  for (const bool selected : {false, true}) {
    for (const Segment& segment : drawing) {
      if ((segment.object == scene_->selected) != selected) continue;
      // Through the camera, the camera itself is not in the picture.
      if (aim && scene_->Find(segment.object)->type == abi::kTypeCamera) continue;
      const auto mapped = projection.Map(segment.a, segment.b);
      if (!mapped) continue;
      painter.setPen(QPen(colourOf(segment.object), selected ? 1.6 : 1.0));
      painter.drawLine(QPointF(mapped->first.first, mapped->first.second),
                       QPointF(mapped->second.first, mapped->second.second));
    }
  }

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(kFrame);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(kLabel);
  const QString name =
      QString::fromUtf8(record.name, static_cast<int>(strnlen(record.name, sizeof record.name)));
  painter.drawText(rect().adjusted(8, 6, -8, -6), Qt::AlignLeft | Qt::AlignTop,
                   throughCamera && !aim ? name + tr(" (no camera)") : name);
}

}  // namespace lumetra::gui
