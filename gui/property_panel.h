// The selected object's values: its transform and the main parameters of its kind.
#pragma once

#include <QWidget>
#include <cstddef>
#include <vector>

#include "host/record_fields.h"
#include "host/scene.h"

class QFormLayout;
class QLabel;

namespace lumetra::gui {

class PropertyPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PropertyPanel(QWidget* parent = nullptr);

  // Shows the object's values for editing; null shows nothing. The object must outlive its
  // showing (Show(nullptr) before its scene goes).
  void Show(host::SceneObject* object);
  // Reads the shown object's values again, as the plug-in may have posed it.
  void Refresh();
  uint32_t ObjectId() const;
  // The row of that label ("Position", "Fov"), for tests and scripts; null when not shown.
  QWidget* Row(const QString& label) const;

 signals:
  // The user changed a value of the object; the object holds it already.
  void edited(uint32_t id);

 private:
  // One value of the object's records: where it lives and the editors that show it.
  struct Field {
    QString label;
    host::FieldKind kind;
    std::byte* at;
    uint32_t count;
    std::vector<QWidget*> editors;
    QWidget* row;
  };

  void AddField(const QString& label, host::FieldKind kind, std::byte* at, uint32_t count);
  void Load(const Field& field);
  void Store(const Field& field);

  host::SceneObject* object_ = nullptr;
  QLabel* heading_;
  QFormLayout* form_;
  std::vector<Field> fields_;
};

}  // namespace lumetra::gui
