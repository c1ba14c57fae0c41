#include "gui/active_jobs_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "host/desktop.h"

namespace lumetra::gui {
namespace {

constexpr int kIdRole = Qt::UserRole;
enum Column { kTitle, kStatus, kProgress };

// Touched on the GUI thread only. The desktop calls its listener on the plug-in's threads,
// which must not reach a window that may be gone: they post to the application, and the
// posted call finds the window here.
ActiveJobsWindow* g_shown = nullptr;

QString StatusText(const host::Desktop::Window& window) {
  QStringList parts;
  for (const std::string& part : window.status) {
    if (!part.empty()) parts << QString::fromStdString(part);
  }
  return parts.join("  |  ");
}

}  // namespace

ActiveJobsWindow::ActiveJobsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(tr("Active Jobs"));
  resize(560, 240);
  auto* layout = new QVBoxLayout(this);
  list_ = new QTreeWidget(this);
  list_->setColumnCount(3);
  list_->setHeaderLabels({tr("Job"), tr("Status"), tr("Progress")});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(kTitle, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(kProgress, 120);
  layout->addWidget(list_);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  abort_ = new QPushButton(tr("&Abort"), this);
  abort_->setEnabled(false);
  buttons->addWidget(abort_);
  layout->addLayout(buttons);
  connect(abort_, &QPushButton::clicked, this, &ActiveJobsWindow::AbortSelected);
  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { abort_->setEnabled(!list_->selectedItems().isEmpty()); });

  g_shown = this;
  host::Desktop::Instance().SetListener([](uint32_t, const host::Desktop::Window*) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
          if (g_shown) g_shown->Refresh();
        },
        Qt::QueuedConnection);
  });
  Refresh();
}

ActiveJobsWindow::~ActiveJobsWindow() {
  host::Desktop::Instance().SetListener(nullptr);
  g_shown = nullptr;
}

void ActiveJobsWindow::Refresh() {
  const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
  const uint32_t chosenId = chosen.isEmpty() ? 0 : chosen.front()->data(kTitle, kIdRole).toUInt();
  list_->clear();
  for (const auto& [id, window] : host::Desktop::Instance().Windows()) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kTitle, QString::fromStdString(window.title));
    item->setData(kTitle, kIdRole, id);
    item->setText(kStatus, StatusText(window));
    auto* progress = new QProgressBar(list_);
    progress->setRange(0, std::max(window.pixelsTotal, 1));
    progress->setValue(std::clamp(window.pixelsDone, 0, std::max(window.pixelsTotal, 1)));
    list_->setItemWidget(item, kProgress, progress);
    if (id == chosenId) item->setSelected(true);
  }
  abort_->setEnabled(!list_->selectedItems().isEmpty());
}

void ActiveJobsWindow::AbortSelected() {
  const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty()) return;
  const uint32_t id = chosen.front()->data(kTitle, kIdRole).toUInt();
  const auto windows = host::Desktop::Instance().Windows();
  const auto found = windows.find(id);
  if (found != windows.end() && found->second.close) found->second.close(id);
}

}  // namespace lumetra::gui
