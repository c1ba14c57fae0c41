#include "gui/property_panel.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstring>

#include "abi/object_params.h"

namespace lumetra::gui {
namespace {

constexpr double kLargestValue = 1e6;
constexpr int kDecimals = 3;
constexpr uint32_t kMostComponents = 3;

// "upper_radius" as "Upper radius".
QString Label(const char* name) {
  QString label = QString::fromUtf8(name).replace('_', ' ');
  if (!label.isEmpty()) label[0] = label[0].toUpper();
  return label;
}

bool Editable(host::FieldKind kind, uint32_t count) {
  using enum host::FieldKind;
  return (kind == kDoubles || kind == kInteger || kind == kBool) && count >= 1 && count <= kMostComponents;
}

}  // namespace

PropertyPanel::PropertyPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(this);
  heading_->setWordWrap(true);
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);
  layout->addWidget(heading_);
  form_ = new QFormLayout();
  form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  layout->addLayout(form_);
  layout->addStretch(1);
  Show(nullptr);
}

uint32_t PropertyPanel::ObjectId() const { return object_ ? object_->id : 0; }

void PropertyPanel::Show(host::SceneObject* object) {
  object_ = object;
  fields_.clear();
  while (form_->rowCount() > 0) form_->removeRow(0);
  if (!object) {
    heading_->setText(tr("No object selected"));
    return;
  }
  const host::ObjectTypeLayout* layout = host::FindObjectType(object->type);
  const QString kind = layout ? Label(layout->name) : tr("Object");
  heading_->setText(object->name.empty() ? kind : QString::fromStdString(object->name) + " \u2014 " + kind);

  auto* params = reinterpret_cast<std::byte*>(&object->params);
  auto* data = reinterpret_cast<std::byte*>(&object->data);
  if (layout && !layout->paramFields.empty()) {
    // Objects without a transform (cameras) keep their place in the parameter record.
    for (const host::FieldLayout& field : layout->paramFields)
      AddField(Label(field.name), field.kind, params + field.offset, field.count);
  } else if (object->type != abi::kTypeTextureNode) {
    AddField(tr("Position"), host::FieldKind::kDoubles, params + offsetof(abi::ParamRecord, translate), 3);
    AddField(tr("Rotation"), host::FieldKind::kDoubles, params + offsetof(abi::ParamRecord, rotate), 3);
    AddField(tr("Scale"), host::FieldKind::kDoubles, params + offsetof(abi::ParamRecord, scale), 3);
  }
  if (!layout) return;
  for (const host::FieldList list : {layout->dataFields, layout->extraFields}) {
    for (const host::FieldLayout& field : list)
      AddField(Label(field.name), field.kind, data + field.offset, field.count);
  }
}

void PropertyPanel::AddField(const QString& label, host::FieldKind kind, std::byte* at, uint32_t count) {
  if (!Editable(kind, count)) return;
  const size_t index = fields_.size();
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  Field field{label, kind, at, count, {}, row};
  const auto store = [this, index] { Store(fields_[index]); };
  for (uint32_t component = 0; component < count; ++component) {
    QWidget* editor = nullptr;
    if (kind == host::FieldKind::kBool) {
      auto* box = new QCheckBox(row);
      connect(box, &QCheckBox::toggled, this, store);
      editor = box;
    } else if (kind == host::FieldKind::kInteger) {
      auto* spin = new QSpinBox(row);
      spin->setRange(0, static_cast<int>(kLargestValue));
      spin->setKeyboardTracking(false);
      connect(spin, &QSpinBox::valueChanged, this, store);
      editor = spin;
    } else {
      auto* spin = new QDoubleSpinBox(row);
      spin->setRange(-kLargestValue, kLargestValue);
      spin->setDecimals(kDecimals);
      spin->setSingleStep(0.1);
      // A value counts when it is entered, not at every key typed.
      spin->setKeyboardTracking(false);
      spin->setMinimumWidth(60);
      connect(spin, &QDoubleSpinBox::valueChanged, this, store);
      editor = spin;
    }
    layout->addWidget(editor, 1);
    field.editors.push_back(editor);
  }
  form_->addRow(label, row);
  fields_.push_back(std::move(field));
  Load(fields_.back());
}

void PropertyPanel::Load(const Field& field) {
  for (uint32_t component = 0; component < field.count; ++component) {
    QWidget* editor = field.editors[component];
    const QSignalBlocker quiet(editor);
    if (field.kind == host::FieldKind::kDoubles) {
      double value = 0;
      std::memcpy(&value, field.at + component * sizeof value, sizeof value);
      static_cast<QDoubleSpinBox*>(editor)->setValue(value);
    } else {
      uint32_t value = 0;
      std::memcpy(&value, field.at + component * sizeof value, sizeof value);
      if (field.kind == host::FieldKind::kBool) {
        static_cast<QCheckBox*>(editor)->setChecked(value != 0);
      } else {
        static_cast<QSpinBox*>(editor)->setValue(static_cast<int>(value));
      }
    }
  }
}

void PropertyPanel::Store(const Field& field) {
  for (uint32_t component = 0; component < field.count; ++component) {
    QWidget* editor = field.editors[component];
    if (field.kind == host::FieldKind::kDoubles) {
      const double value = static_cast<QDoubleSpinBox*>(editor)->value();
      std::memcpy(field.at + component * sizeof value, &value, sizeof value);
    } else {
      const uint32_t value = field.kind == host::FieldKind::kBool
                                 ? static_cast<QCheckBox*>(editor)->isChecked()
                                 : static_cast<uint32_t>(static_cast<QSpinBox*>(editor)->value());
      std::memcpy(field.at + component * sizeof value, &value, sizeof value);
    }
  }
  emit edited(object_->id);
}

void PropertyPanel::Refresh() {
  for (const Field& field : fields_) Load(field);
}

QWidget* PropertyPanel::Row(const QString& label) const {
  for (const Field& field : fields_) {
    if (field.label == label) return field.row;
  }
  return nullptr;
}

}  // namespace lumetra::gui
