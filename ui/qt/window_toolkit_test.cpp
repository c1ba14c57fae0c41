#include "ui/qt/window_toolkit.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QWidget>

#include "ui/qt/testing/fake_bar_controller.h"

namespace lumetra::ui::qt {
namespace {

TEST(WindowToolkit, OnlyForItsOwnVersion) {
  EXPECT_NE(QtWindowToolkit(kWindowToolkitVersion), nullptr);
  EXPECT_EQ(QtWindowToolkit(kWindowToolkitVersion + 1), nullptr);
  EXPECT_EQ(QtWindowToolkit(0), nullptr);
}

// The library as the plug-in finds it: one entry by name, and windows made through it.
TEST(WindowToolkit, TheLibraryExportsItsEntry) {
  void* library = dlopen(LUMETRA_UI_QT_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto entry = reinterpret_cast<WindowToolkitEntry>(dlsym(library, kWindowToolkitEntry));
  ASSERT_NE(entry, nullptr) << dlerror();
  EXPECT_EQ(entry(kWindowToolkitVersion + 1), nullptr);
  WindowToolkit* toolkit = entry(kWindowToolkitVersion);
  ASSERT_NE(toolkit, nullptr);

  testing::FakeBarController controller;
  EXPECT_EQ(toolkit->MakeBar(0, controller), nullptr);
  QWidget host;
  host.show();
  std::unique_ptr<BarWindow> bar = toolkit->MakeBar(static_cast<uint32_t>(host.winId()), controller);
  ASSERT_NE(bar, nullptr);
  bar->Place(0, 0, 500, bar->Height(), true);
  const QWidget* widget = host.findChild<QWidget*>("AnimControlBar");
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->geometry(), QRect(0, 0, 500, 40));
  EXPECT_NE(host.findChild<QWidget*>("CSliderEx"), nullptr);
  bar.reset();
  EXPECT_EQ(host.findChild<QWidget*>("AnimControlBar"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace lumetra::ui::qt
