#include "ui/qt/render_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

namespace lumetra::ui::qt {
namespace {

constexpr int kWidth = 40, kHeight = 30;

// A picture whose every pixel tells where it is, rows stored bottom-up.
std::vector<uint8_t> Numbered(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = &pixels[(static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) + x) * 4];
      pixel[0] = static_cast<uint8_t>(200);  // blue
      pixel[1] = static_cast<uint8_t>(y);    // green
      pixel[2] = static_cast<uint8_t>(x);    // red
      pixel[3] = 0;                          // alpha, which the window ignores
    }
  }
  return pixels;
}

QWidget* FindRenderWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "RenderWindow") return window;
  }
  return nullptr;
}

// Runs `work` on a thread of its own, as a job's thread would, with the GUI thread
// blocked until it ends: a call that waited for the GUI thread would never return.
template <typename Work>
void OnJobThread(Work work) {
  std::thread(work).join();
}

class RenderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.resize(200, 100);
    host_.show();
  }

  uint32_t Host() { return static_cast<uint32_t>(host_.winId()); }

  // The window the view queued, once the GUI thread has made it.
  RenderWindow* Made() {
    EXPECT_TRUE(QTest::qWaitFor([] { return FindRenderWindow() != nullptr; }, 2000));
    return qobject_cast<RenderWindow*>(FindRenderWindow());
  }

  QWidget host_;
};

TEST_F(RenderWindowTest, PaintShowsOnlyTheChangedRectangleTheRightWayUp) {
  std::unique_ptr<render::RenderWindowView> view;
  const std::vector<uint8_t> pixels = Numbered(kWidth, kHeight);
  OnJobThread([&] {
    view = MakeRenderWindowView(Host(), "Render: paint", kWidth, kHeight, [] {});
    view->Paint({5, 3, 15, 10}, pixels.data(), kWidth, kHeight);
  });
  RenderWindow* window = Made();
  ASSERT_NE(window, nullptr);
  QApplication::processEvents();
  EXPECT_FALSE(window->isVisible()) << "a job whose window is not to be shown keeps it hidden";
  OnJobThread([&] { view->Show(); });
  QApplication::processEvents();
  EXPECT_TRUE(window->isVisible());
  const QImage shown = window->findChild<PictureArea*>()->grab().toImage();
  EXPECT_EQ(shown.size(), QSize(kWidth, kHeight));
  EXPECT_EQ(shown.pixel(5, 3), qRgb(5, 3, 200));
  EXPECT_EQ(shown.pixel(14, 9), qRgb(14, 9, 200));
  EXPECT_EQ(shown.pixel(4, 3), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(15, 9), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(14, 10), qRgb(0, 0, 0));
  OnJobThread([&] { view.reset(); });
}

TEST_F(RenderWindowTest, PaintKeepsToThePictureAndIgnoresNothingChanged) {
  const std::vector<uint8_t> pixels = Numbered(kWidth, kHeight);
  QPoint at;
  const QImage patch = CopyPatch({-4, 25, 60, 99}, pixels.data(), kWidth, kHeight, at);
  EXPECT_EQ(at, QPoint(0, 25));
  ASSERT_EQ(patch.size(), QSize(kWidth, 5));
  EXPECT_EQ(patch.pixel(kWidth - 1, 4), qRgb(kWidth - 1, kHeight - 1, 200));
  EXPECT_TRUE(CopyPatch({}, pixels.data(), kWidth, kHeight, at).isNull());
  EXPECT_TRUE(CopyPatch({50, 0, 60, 10}, pixels.data(), kWidth, kHeight, at).isNull());
  EXPECT_TRUE(CopyPatch({0, 0, 10, 10}, nullptr, kWidth, kHeight, at).isNull());
}

TEST_F(RenderWindowTest, AWholeLifeOnAJobThreadNeverWaitsForTheGuiThread) {
  std::atomic<int> closedCalls = 0;
  const std::vector<uint8_t> pixels = Numbered(kWidth, kHeight);
  OnJobThread([&] {
    auto view = MakeRenderWindowView(Host(), "Render: brief", kWidth, kHeight, [&] { ++closedCalls; });
    view->SetTitle("Render: renamed");
    view->SetStatus(0, "10%");
    view->Paint({0, 0, kWidth, kHeight}, pixels.data(), kWidth, kHeight);
  });
  // Made, changed and deleted by the queued calls, in their order.
  QApplication::processEvents();
  EXPECT_EQ(FindRenderWindow(), nullptr);
  EXPECT_EQ(closedCalls, 0);
}

TEST_F(RenderWindowTest, TitleStatusPartsAndOwner) {
  std::unique_ptr<render::RenderWindowView> view;
  OnJobThread([&] {
    view = MakeRenderWindowView(Host(), "Render: parts", kWidth, kHeight, [] {});
    view->SetTitle("Render: scene.json");
    for (int part = 0; part < 4; ++part) view->SetStatus(part, "part " + std::to_string(part));
  });
  RenderWindow* window = Made();
  ASSERT_NE(window, nullptr);
  QApplication::processEvents();
  EXPECT_EQ(window->windowTitle(), "Render: scene.json");
  EXPECT_EQ(window->parentWidget(), &host_);
  EXPECT_TRUE(window->isWindow());
  for (int part = 0; part < RenderWindow::kStatusParts; ++part) {
    const auto* label = window->findChild<QLabel*>(QString("status%1").arg(part));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("part %1").arg(part));
  }
  EXPECT_EQ(window->findChild<QLabel*>("status0")->width(), RenderWindow::kStatusPartWidth);
  EXPECT_EQ(window->findChild<QLabel*>("status1")->width(), RenderWindow::kStatusPartWidth);
  OnJobThread([&] { view.reset(); });
}

TEST_F(RenderWindowTest, NeverGrowsBeyondThePictureAndScrollsWhenShrunk) {
  RenderWindow window(nullptr, "Render: size", 120, 90, [] {});
  window.show();
  const int statusHeight = window.findChild<QStatusBar*>()->sizeHint().height();
  EXPECT_EQ(window.maximumSize(), QSize(120, 90 + statusHeight));
  window.resize(1000, 1000);
  EXPECT_EQ(window.size(), QSize(120, 90 + statusHeight));

  window.resize(60, 50 + statusHeight);
  QApplication::processEvents();
  const auto* scroller = window.findChild<QScrollArea*>();
  EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
  EXPECT_EQ(window.findChild<PictureArea*>()->size(), QSize(120, 90));
}

TEST_F(RenderWindowTest, APictureLargerThanTheScreenIsHeldToTheScreen) {
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  RenderWindow window(nullptr, "Render: large", screen.width() + 500, screen.height() + 500, [] {});
  EXPECT_EQ(window.maximumSize(), screen);
}

TEST_F(RenderWindowTest, ClosingTellsTheJobOnceAndTheWindowGoesAway) {
  std::atomic<int> closedCalls = 0;
  std::unique_ptr<render::RenderWindowView> view;
  OnJobThread([&] {
    view = MakeRenderWindowView(Host(), "Render: close", kWidth, kHeight, [&] { ++closedCalls; });
    view->Show();
  });
  QPointer<RenderWindow> window = Made();
  ASSERT_FALSE(window.isNull());
  window->close();
  EXPECT_EQ(closedCalls, 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));

  // The job goes on calling its view until it sees the abort; nothing is left to change.
  const std::vector<uint8_t> pixels = Numbered(kWidth, kHeight);
  OnJobThread([&] {
    view->SetStatus(1, "late");
    view->Paint({0, 0, kWidth, kHeight}, pixels.data(), kWidth, kHeight);
    view.reset();
  });
  QApplication::processEvents();
  EXPECT_EQ(closedCalls, 1);
}

TEST_F(RenderWindowTest, AWindowClosedAfterItsViewWentTellsNobody) {
  std::atomic<int> closedCalls = 0;
  std::unique_ptr<render::RenderWindowView> view;
  OnJobThread([&] {
    view = MakeRenderWindowView(Host(), "Render: gone", kWidth, kHeight, [&] { ++closedCalls; });
    view->Show();
  });
  QPointer<RenderWindow> window = Made();
  ASSERT_FALSE(window.isNull());
  OnJobThread([&] { view.reset(); });
  // The job is gone; its window still waits for the queued deletion when the user closes it.
  window->close();
  EXPECT_EQ(closedCalls, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
}

}  // namespace
}  // namespace lumetra::ui::qt
