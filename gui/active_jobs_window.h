// "Active Jobs": the plug-in's render windows as the desktop knows them, with an Abort
// button that closes the chosen one (which aborts its job).
#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

namespace lumetra::gui {

class ActiveJobsWindow : public QWidget {
  Q_OBJECT

 public:
  // Follows the desktop from now on; one such window at a time.
  explicit ActiveJobsWindow(QWidget* parent = nullptr);
  ~ActiveJobsWindow() override;

  QTreeWidget& List() { return *list_; }
  // Lists the desktop's windows as they are now: title, status and progress.
  void Refresh();
  // Closes the chosen window through the desktop, as its close box would.
  void AbortSelected();

 private:
  QTreeWidget* list_;
  QPushButton* abort_;
};

}  // namespace lumetra::gui
