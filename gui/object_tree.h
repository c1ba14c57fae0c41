// The scene's objects and cameras as a tree; choosing one selects it in the scene.
#pragma once

#include <QTreeWidget>
#include <functional>

#include "host/scene.h"

namespace lumetra::gui {

class ObjectTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ObjectTree(QWidget* parent = nullptr);

  // Lists the scene's object tree and cameras, the scene's selected object chosen.
  void Rebuild(const host::Scene& scene);
  // Names as the scene has them now (the plug-in may rename objects).
  void RefreshNames(const host::Scene& scene);
  // Chooses the object's item without announcing it.
  void ShowSelected(uint32_t id);
  QTreeWidgetItem* ItemOf(uint32_t id) const;

 signals:
  // The user chose an object.
  void objectSelected(uint32_t id);

 private:
  void Add(const host::Scene& scene, uint32_t id, QTreeWidgetItem* parent);
  void ForEachItem(const std::function<void(QTreeWidgetItem&)>& visit) const;
};

}  // namespace lumetra::gui
