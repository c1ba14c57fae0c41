#include "gui/object_tree.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <functional>

#include "abi/scene_record.h"
#include "host/record_fields.h"

namespace lumetra::gui {
namespace {

constexpr int kIdRole = Qt::UserRole;

QString KindName(uint32_t type) {
  const host::ObjectTypeLayout* layout = host::FindObjectType(type);
  return layout ? QString::fromUtf8(layout->name).replace('_', ' ') : QString("type %1").arg(type);
}

QString DisplayName(const host::SceneObject& object) {
  return object.name.empty() ? QString("(%1)").arg(KindName(object.type))
                             : QString::fromStdString(object.name);
}

}  // namespace

ObjectTree::ObjectTree(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderLabels({tr("Object"), tr("Kind")});
  header()->setSectionResizeMode(0, QHeaderView::Stretch);
  header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem*> chosen = selectedItems();
    if (!chosen.isEmpty()) emit objectSelected(chosen.front()->data(0, kIdRole).toUInt());
  });
}

void ObjectTree::Rebuild(const host::Scene& scene) {
  const QSignalBlocker quiet(this);
  clear();
  for (const uint32_t list : {abi::kObjectList, abi::kCameraList}) {
    for (const uint32_t id : scene.List(list)) Add(scene, id, nullptr);
  }
  expandAll();
  ShowSelected(scene.selected);
}

void ObjectTree::Add(const host::Scene& scene, uint32_t id, QTreeWidgetItem* parent) {
  const host::SceneObject& object = *scene.Find(id);
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(0, DisplayName(object));
  item->setText(1, KindName(object.type));
  item->setData(0, kIdRole, id);
  for (const uint32_t child : object.children) Add(scene, child, item);
}

void ObjectTree::ForEachItem(const std::function<void(QTreeWidgetItem&)>& visit) const {
  for (QTreeWidgetItemIterator it(const_cast<ObjectTree*>(this)); *it; ++it) visit(**it);
}

void ObjectTree::RefreshNames(const host::Scene& scene) {
  ForEachItem([&](QTreeWidgetItem& item) {
    if (const host::SceneObject* object = scene.Find(item.data(0, kIdRole).toUInt())) {
      item.setText(0, DisplayName(*object));
    }
  });
}

QTreeWidgetItem* ObjectTree::ItemOf(uint32_t id) const {
  QTreeWidgetItem* found = nullptr;
  ForEachItem([&](QTreeWidgetItem& item) {
    if (!found && item.data(0, kIdRole).toUInt() == id) found = &item;
  });
  return found;
}

void ObjectTree::ShowSelected(uint32_t id) {
  const QSignalBlocker quiet(this);
  QTreeWidgetItem* item = ItemOf(id);
  setCurrentItem(item);
  if (item) scrollToItem(item);
}

}  // namespace lumetra::gui
