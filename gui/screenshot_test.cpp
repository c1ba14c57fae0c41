#include "gui/screenshot.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QImageReader>
#include <QWidget>
#include <filesystem>

#include "host/testing/scene_test_support.h"

namespace lumetra::gui {
namespace {

QImage Filled(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(Screenshot, WindowsLieOnACanvasGrownToHoldThemAllLaterOnesOnTop) {
  std::vector<PlacedWindow> placed;
  const QImage picture = Composite(
      {{{100, 100}, Filled(50, 40, Qt::red), "main"}, {{80, 130}, Filled(30, 30, Qt::blue), "render"}},
      &placed);
  ASSERT_EQ(picture.size(), QSize(70, 60));
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].title, "main");
  EXPECT_EQ(placed[0].rect, QRect(20, 0, 50, 40));
  EXPECT_EQ(placed[1].rect, QRect(0, 30, 30, 30)) << "where the picture shows on the canvas";
  EXPECT_EQ(picture.pixelColor(20, 0), QColor(Qt::red));
  EXPECT_EQ(picture.pixelColor(25, 35), QColor(Qt::blue));          // both cover it: the later one shows
  EXPECT_EQ(picture.pixelColor(0, 0), picture.pixelColor(69, 59));  // bare screen in two corners
  EXPECT_NE(picture.pixelColor(0, 0), QColor(Qt::red));
}

TEST(Screenshot, TheMainWindowComesWithTheProgramsOtherVisibleWindows) {
  QWidget main;
  main.setGeometry(0, 0, 200, 100);
  main.setStyleSheet("background: #008000");
  main.setAutoFillBackground(true);
  QWidget other;
  other.setGeometry(150, 60, 100, 100);
  other.setStyleSheet("background: #0000ff");
  QWidget hidden;
  hidden.setGeometry(400, 400, 10, 10);
  main.show();
  other.show();
  QApplication::processEvents();
  const QImage picture = GrabWindows(main);
  // Where the windows stand on the screen (the platform may add frames round them).
  const QPoint mainAt = main.mapToGlobal(QPoint()), otherAt = other.mapToGlobal(QPoint());
  const QRect both = QRect(mainAt, main.size()) | QRect(otherAt, other.size());
  EXPECT_EQ(picture.size(), both.size());
  EXPECT_GT(both.width(), 200);
  EXPECT_EQ(picture.pixelColor(mainAt - both.topLeft() + QPoint(10, 10)), QColor(0, 128, 0));
  EXPECT_EQ(picture.pixelColor(otherAt - both.topLeft() + QPoint(5, 5)), QColor(0, 0, 255));

  const auto folder = host::testing::FreshFolder("screenshot");
  const QString path = QString::fromStdString((folder / "windows.png").string());
  EXPECT_EQ(SavePng(picture, path), "");
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), "png");
  EXPECT_EQ(reader.read().size(), both.size());
  EXPECT_NE(SavePng(picture, QString::fromStdString((folder / "no-folder" / "x.png").string())), "");
  EXPECT_FALSE(std::filesystem::exists(folder / "no-folder"));
}

TEST(Screenshot, AModalDialogLiesOverTheWindowsItBlocks) {
  QWidget main;
  main.setGeometry(0, 0, 200, 100);
  QWidget dialog;
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setGeometry(20, 20, 60, 60);
  dialog.setStyleSheet("background: #ff0000");
  dialog.setAutoFillBackground(true);
  main.show();
  dialog.show();
  // Shown after the dialog and at its place, so only the dialog's layer puts it on top.
  std::vector<std::unique_ptr<QWidget>> others;
  for (int i = 0; i < 4; ++i) {
    others.push_back(std::make_unique<QWidget>());
    others.back()->setGeometry(20, 20, 60, 60);
    others.back()->setStyleSheet("background: #0000ff");
    others.back()->setAutoFillBackground(true);
    others.back()->show();
  }
  QApplication::processEvents();
  std::vector<PlacedWindow> placed;
  const QImage picture = GrabWindows(main, &placed);
  ASSERT_EQ(placed.size(), 6u);
  const QRect dialogRect = placed.back().rect;
  EXPECT_EQ(picture.pixelColor(dialogRect.center()), QColor(255, 0, 0));
}

}  // namespace
}  // namespace lumetra::gui
