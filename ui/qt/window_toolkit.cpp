#include "ui/qt/window_toolkit.h"

#include <QApplication>
#include <QThread>

#include "ui/qt/control_bar.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/options_sheet.h"
#include "ui/qt/render_window.h"
#include "ui/qt/timeline_dialog.h"

namespace lumetra::ui::qt {
namespace {

// Runs `work` on the GUI thread and gives its result, waiting for it when called from
// another thread. Only for calls whose callers may wait: render windows never do.
template <typename Work>
auto OnGuiThread(Work work) -> decltype(work()) {
  QCoreApplication* application = QCoreApplication::instance();
  if (QThread::currentThread() == application->thread()) return work();
  decltype(work()) result{};
  QMetaObject::invokeMethod(
      application, [&] { result = work(); }, Qt::BlockingQueuedConnection);
  return result;
}

class Toolkit final : public WindowToolkit {
 public:
  std::unique_ptr<BarWindow> MakeBar(uint32_t parent, BarController& controller) override {
    return OnGuiThread([&] { return MakeControlBar(parent, controller); });
  }

  platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override {
    return OnGuiThread([&] { return ShowMessageBox(request); });
  }

  std::optional<std::filesystem::path> ShowSaveFile(const platform::SaveFileRequest& request) override {
    return OnGuiThread([&] { return ShowSaveFileDialog(request); });
  }

  std::unique_ptr<render::RenderWindowView> MakeRenderWindow(uint32_t parent, const std::string& title,
                                                             int32_t width, int32_t height,
                                                             std::function<void()> closed) override {
    return MakeRenderWindowView(parent, title, width, height, std::move(closed));
  }

  void RunTimeline(TimelineController& controller) override { RunTimelineDialog(controller); }
  bool RunOptionsSheet(uint32_t parent, int32_t page, OptionsController& controller) override {
    return OnGuiThread([&] { return qt::RunOptionsSheet(parent, page, controller); });
  }
};

}  // namespace

WindowToolkit* QtWindowToolkit(uint32_t version) {
  static Toolkit toolkit;
  if (version != kWindowToolkitVersion) return nullptr;
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return &toolkit;
}

}  // namespace lumetra::ui::qt
