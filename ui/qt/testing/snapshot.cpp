// ui_qt_snapshot [folder]: pictures of the control bar (enabled, during a key drag,
// disabled), of a render window and of the options sheet's Active Jobs and Animation
// pages, as PNG files in the folder (the temporary one by default), to look at the
// windows without a host.
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTest>

#include "ui/qt/options_sheet.h"
#include "ui/qt/render_window.h"
#include "ui/qt/slider_ex.h"
#include "ui/qt/testing/fake_bar_controller.h"
#include "ui/qt/testing/fake_options_controller.h"

namespace {

using lumetra::ui::qt::SliderEx;

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "ui_qt_snapshot: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// A picture with something of everything: a gradient, a bright band and dark corners.
std::vector<uint8_t> TestPicture(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = pixels.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 4;
    for (int x = 0; x < width; ++x) {
      row[x * 4 + 0] = static_cast<uint8_t>(255 * y / height);
      row[x * 4 + 1] = static_cast<uint8_t>(y > height / 3 && y < height / 2 ? 230 : 60);
      row[x * 4 + 2] = static_cast<uint8_t>(255 * x / width);
    }
  }
  return pixels;
}

// The sheet as it shows two jobs, one of them rendering, and a PNG animation at NTSC rate.
lumetra::ui::OptionsViewState SheetState() {
  using lumetra::ui::OptionsEdit;
  lumetra::ui::OptionsViewState state;
  state.rendering = {4, 1, {true, true, true, true, false, false, false, false}, false};
  state.jobs = {{"showcase.png", "Rendering"}, {"walk.avi", "Initializing"}};
  state.animation = {5,         1,        3, 1, 0, true, false, false, "Codec : MSVC", "Quality: %85   ",
                     "00:00:0", "00:04:0"};
  const std::pair<OptionsEdit, const char*> texts[] = {
      {OptionsEdit::TransparencyDepth, "0"}, {OptionsEdit::VolumeStepSize, "1"},
      {OptionsEdit::MinimumSteps, "3"},      {OptionsEdit::MaximumSteps, "50"},
      {OptionsEdit::CustomRate, "  15.00"},  {OptionsEdit::StartTime, "00:00:0"},
      {OptionsEdit::EndTime, "00:04:0"},     {OptionsEdit::CurrentTime, "00:01:12"},
      {OptionsEdit::BaseName, "walk"}};
  for (const auto& [edit, text] : texts) state.edits[static_cast<size_t>(edit)] = text;
  return state;
}

}  // namespace

int main(int argc, char** argv) {
  lumetra::ui::qt::testing::UseOffscreenUnlessSet();
  QApplication application(argc, argv);
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  bool saved = true;

  lumetra::ui::qt::testing::BarHost host(
      720, {true, true, 1, lumetra::ui::KeyPicture::AtKey, "Sphere", 0, 100, 40, {0, 25, 40, 70, 100}});
  QWidget* widget = host.Bar();
  saved &= Save(*widget, folder, "lumetra-bar.png");

  SliderEx* slider = host.Slider();
  const auto markX = [slider](int32_t time) { return 3 + time * (slider->width() - 7) / 100; };
  QTest::mouseMove(slider, QPoint(markX(70), 30));
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(markX(25), 30));
  QTest::mouseMove(slider, QPoint(markX(55), 30));
  saved &= Save(*widget, folder, "lumetra-bar-drag.png");
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(markX(55), 30));

  host.controller.state.controlsEnabled = false;
  host.controller.state.animationMode = false;
  host.controller.state.picture = lumetra::ui::KeyPicture::NoKey;
  host.controller.Push();
  saved &= Save(*widget, folder, "lumetra-bar-disabled.png");

  constexpr int kWidth = 320, kHeight = 240;
  auto view = lumetra::ui::qt::MakeRenderWindowView(static_cast<uint32_t>(host.window.winId()),
                                                    "Render: snapshot", kWidth, kHeight, [] {});
  const std::vector<uint8_t> pixels = TestPicture(kWidth, kHeight);
  view->Show();
  view->Paint({0, 0, kWidth, kHeight / 2}, pixels.data(), kWidth, kHeight);
  view->SetStatus(0, "50%");
  view->SetStatus(1, "0:02");
  view->SetStatus(2, "Rendering line 120 of 240");
  QTest::qWait(100);
  QWidget* window = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == "RenderWindow") window = top;
  }
  saved &= window && Save(*window, folder, "lumetra-render-window.png");

  lumetra::ui::qt::testing::FakeOptions options;
  options.state = SheetState();
  for (const auto& [page, name] : {std::pair{lumetra::ui::kActiveJobsPage, "options-jobs.png"},
                                   std::pair{lumetra::ui::kAnimationPage, "options-animation.png"}}) {
    lumetra::ui::qt::OptionsSheetDialog sheet(options, page, nullptr);
    sheet.show();
    if (page == lumetra::ui::kActiveJobsPage) sheet.findChild<QListWidget*>("JobNames")->setCurrentRow(0);
    QTest::qWait(50);
    saved &= Save(sheet, folder, name);
  }
  return saved ? 0 : 1;
}
