#include "gui/options_page.h"

#include <QApplication>
#include <QTabWidget>
#include <QWidget>

namespace lumetra::gui {

OptionsPageTurner::OptionsPageTurner(int page, QObject* parent) : QObject(parent), page_(page) {
  connect(&poll_, &QTimer::timeout, this, &OptionsPageTurner::Poll);
  poll_.start(10);
}

void OptionsPageTurner::Poll() {
  QWidget* sheet = QApplication::activeModalWidget();
  if (!sheet || sheet->objectName() != "RenderingOptions") return;
  auto* pages = sheet->findChild<QTabWidget*>();
  if (!pages) return;
  pages->setCurrentIndex(page_);
  poll_.stop();
}

}  // namespace lumetra::gui
