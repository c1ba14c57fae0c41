#include "gui/testing/gui_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "gui/object_tree.h"
#include "gui/property_panel.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::gui::testing {

namespace fs = std::filesystem;

size_t Sent(app::HostSession& session, int32_t event) {
  const auto& events = session.EventResults();
  return std::count_if(events.begin(), events.end(), [&](const auto& sent) { return sent.first == event; });
}

void AnswerNextBox(QMessageBox::StandardButton button, QString* text) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr) << "no message box";
    if (text) *text = box->text();
    box->button(button)->click();
  });
}

bool Await(const std::function<bool()>& done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 10000) {
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return done();
}

void GuiHost::SetUp() {
  folder_ = host::testing::FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::copy(fs::path(host::testing::EveryKindScenePath()).parent_path(), folder_, fs::copy_options::recursive);
  window_ = std::make_unique<MainWindow>(LUMETRA_PLUGIN_PATH);
  window_->Start(ScenePath().toStdString());
  window_->resize(1000, 700);
  window_->show();
  QApplication::processEvents();
}

QString GuiHost::ScenePath() const { return QString::fromStdString((folder_ / "every-kind.json").string()); }

void GuiHost::Choose(const std::string& name) {
  window_->Tree().setCurrentItem(window_->Tree().ItemOf(IdOf(name)));
  QApplication::processEvents();
}

QDoubleSpinBox* GuiHost::Editor(const QString& row, int component) {
  QWidget* found = window_->Properties().Row(row);
  return found ? found->findChildren<QDoubleSpinBox*>().value(component) : nullptr;
}

void GuiHost::EditPosition(double x) {
  QDoubleSpinBox* editor = Editor("Position", 0);
  ASSERT_NE(editor, nullptr);
  editor->setValue(x);
  QApplication::processEvents();
}

}  // namespace lumetra::gui::testing
