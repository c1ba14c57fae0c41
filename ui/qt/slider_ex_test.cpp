#include "ui/qt/slider_ex.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "abi/bar_site_record.h"
#include "ui/qt/control_bar.h"
#include "ui/qt/testing/fake_bar_controller.h"
#include "ui/time_slider.h"

namespace lumetra::ui::qt {
namespace {

using testing::BarHost;
using Call = testing::FakeBarController::Call;

constexpr int kBarWidth = 600;
constexpr int kTrackRow = 10;
constexpr int kKeyRow = 30;

BarViewState Enabled(std::vector<int32_t> keys = {20, 60}, int32_t position = 0) {
  BarViewState state;
  state.animationMode = true;
  state.controlsEnabled = true;
  state.maximum = 100;
  state.position = position;
  state.keyTimes = std::move(keys);
  return state;
}

// Where a mark's centre belongs: times 0 to 100 from the key band's left (three pixels in)
// to one pixel before the track's right end.
int MarkCentre(const SliderEx& slider, int32_t time) { return 3 + time * (slider.width() - 5) / 100; }

// The centres of the runs of `colour` across the key band.
std::vector<int> Runs(const QImage& image, QRgb colour) {
  std::vector<int> centres;
  int start = -1;
  for (int x = 0; x <= image.width(); ++x) {
    bool found = false;
    for (int y = SliderEx::kKeyBandTop; x < image.width() && y < image.height() && !found; ++y) {
      found = image.pixel(x, y) == colour;
    }
    if (found && start < 0) start = x;
    if (!found && start >= 0) {
      centres.push_back((start + x - 1) / 2);
      start = -1;
    }
  }
  return centres;
}

const QRgb kNormalInside = qRgb(0x58, 0x58, 0x58);
const QRgb kAtPositionInside = qRgb(0xE0, 0x10, 0x10);
const QRgb kHoveredInside = qRgb(0xFF, 0xC8, 0x20);
const QRgb kDraggedInside = qRgb(0x30, 0x70, 0xE0);
const QRgb kDragStartOutline = qRgb(0x90, 0x90, 0x90);

QImage Picture(SliderEx& slider) { return slider.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(SliderEx, ThumbDragReportsPressMovesAndReleaseAndStopsAtTheEnds) {
  BarHost host(kBarWidth, Enabled());
  SliderEx& slider = *host.Slider();
  const QRect thumb = slider.ThumbRect();
  const QPoint grip(thumb.center().x(), kTrackRow);

  QTest::mousePress(&slider, Qt::LeftButton, {}, grip);
  QTest::mouseMove(&slider, grip + QPoint(60, 0));
  const int32_t reached = host.controller.state.position;
  EXPECT_GT(reached, 0);
  EXPECT_EQ(slider.Pos(), reached);
  QTest::mouseMove(&slider, grip + QPoint(slider.width() + 100, 0));
  QTest::mouseMove(&slider, grip + QPoint(-slider.width() - 100, 0));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, grip + QPoint(-slider.width() - 100, 0));

  EXPECT_EQ(
      host.controller.SliderWords(),
      (std::vector<uint32_t>{kSliderThumbPressed | 0, kSliderThumbDragged | static_cast<uint32_t>(reached),
                             kSliderThumbDragged | 100, kSliderThumbDragged | 0, kSliderThumbReleased | 0}));
}

TEST(SliderEx, ThumbDragTakesOnlyValuesTheControllerSnapsTo) {
  BarHost host(kBarWidth, Enabled());
  host.controller.frame = 7;
  SliderEx& slider = *host.Slider();
  const QPoint grip(slider.ThumbRect().center().x(), kTrackRow);
  QTest::mousePress(&slider, Qt::LeftButton, {}, grip);
  for (int dx = 3; dx < slider.width(); dx += 11) QTest::mouseMove(&slider, grip + QPoint(dx, 0));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, grip + QPoint(slider.width(), 0));

  const std::vector<uint32_t> words = host.controller.SliderWords();
  ASSERT_GT(words.size(), 3u);
  for (const uint32_t word : words) EXPECT_EQ((word & kSliderValueMask) % 7, 0u) << std::hex << word;
  EXPECT_EQ(words.back(), kSliderThumbReleased | 98);  // the last whole frame of the range
}

TEST(SliderEx, KeyMarkDragMovesTheMarkBeforeEachNotificationAndStopsAtTheEnd) {
  BarHost host(kBarWidth, Enabled({20, 60}));
  SliderEx& slider = *host.Slider();
  host.controller.calls.clear();

  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(MarkCentre(slider, 20), kKeyRow));
  QTest::mouseMove(&slider, QPoint(MarkCentre(slider, 45), kKeyRow));
  QTest::mouseMove(&slider, QPoint(slider.width() + 50, kKeyRow));
  QTest::mouseMove(&slider, QPoint(slider.width() + 90, kKeyRow));  // no change: nothing told
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(slider.width() + 90, kKeyRow));

  EXPECT_EQ(host.controller.calls, (std::vector<Call>{
                                       {abi::kBarSlider, kSliderKeyDragBegins | 0, 0},
                                       {0, 0, 45},
                                       {abi::kBarSlider, kSliderKeyDragMoved | 0, 0},
                                       {0, 0, 100},
                                       {abi::kBarSlider, kSliderKeyDragMoved | 0, 0},
                                       {0, 0, 100},
                                       {abi::kBarSlider, kSliderKeyDragEnds | 0, 0},
                                   }));
  EXPECT_EQ(slider.KeyTimes(), (std::vector<int32_t>{100, 60}));
  EXPECT_EQ(slider.DraggedKey(), -1);
}

TEST(SliderEx, KeyMarkDraggedLeftStopsAtTheStart) {
  BarHost host(kBarWidth, Enabled({20, 60}));
  SliderEx& slider = *host.Slider();
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(MarkCentre(slider, 60), kKeyRow));
  QTest::mouseMove(&slider, QPoint(-40, kKeyRow));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-40, kKeyRow));
  EXPECT_EQ(host.controller.state.keyTimes, (std::vector<int32_t>{20, 0}));
  EXPECT_EQ(host.controller.SliderWords().back(), kSliderKeyDragEnds | 1);
}

TEST(SliderEx, ArrowStepsAtOnceThenRepeatsWhileHeld) {
  BarHost host(kBarWidth, Enabled());
  host.controller.step = 5;
  SliderEx& slider = *host.Slider();
  const QPoint rightArrow(slider.ThumbRect().right() - 4, kTrackRow);

  QTest::mousePress(&slider, Qt::LeftButton, {}, rightArrow);
  EXPECT_EQ(host.controller.SliderWords(), std::vector<uint32_t>{5});
  QTest::qWait(SliderEx::kFirstRepeatMs / 2);
  EXPECT_EQ(host.controller.SliderWords().size(), 1u) << "repeating before the first delay";
  // Held down past the first delay, the arrow repeats; each repeat steps once more.
  EXPECT_TRUE(QTest::qWaitFor([&] { return host.controller.SliderWords().size() >= 3; }, 5000));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, rightArrow);
  const std::vector<uint32_t> held = host.controller.SliderWords();
  ASSERT_GE(held.size(), 3u);
  for (size_t index = 0; index < held.size(); ++index) EXPECT_EQ(held[index], 5 * (index + 1));
  EXPECT_EQ(slider.Pos(), static_cast<int32_t>(held.back()));

  QTest::qWait(3 * SliderEx::kRepeatMs);
  EXPECT_EQ(host.controller.SliderWords().size(), held.size()) << "repeating after the release";
}

TEST(SliderEx, ArrowStopsRepeatingWhenTheSliderIsDisabledUnderIt) {
  BarHost host(kBarWidth, Enabled());
  SliderEx& slider = *host.Slider();
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(slider.ThumbRect().right() - 4, kTrackRow));
  host.controller.state.controlsEnabled = false;
  host.controller.Push();
  QTest::qWait(SliderEx::kFirstRepeatMs + 2 * SliderEx::kRepeatMs);
  EXPECT_EQ(host.controller.SliderWords(), std::vector<uint32_t>{1});
}

TEST(SliderEx, ArrowsStopAtTheEndsWithoutNotifying) {
  BarHost host(kBarWidth, Enabled({}, 98));
  host.controller.step = 5;
  SliderEx& slider = *host.Slider();
  const QPoint rightArrow(slider.ThumbRect().right() - 4, kTrackRow);
  QTest::mouseClick(&slider, Qt::LeftButton, {}, rightArrow);
  QTest::mouseClick(&slider, Qt::LeftButton, {}, rightArrow);
  EXPECT_EQ(host.controller.SliderWords(), std::vector<uint32_t>{100});

  host.controller.state.position = 0;
  host.controller.Push();
  host.controller.calls.clear();
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.ThumbRect().left() + 4, kTrackRow));
  EXPECT_TRUE(host.controller.SliderWords().empty());
  EXPECT_EQ(slider.Pos(), 0);
}

TEST(SliderEx, TrackPressCentresTheThumbOnThePointer) {
  BarHost host(kBarWidth, Enabled());
  SliderEx& slider = *host.Slider();
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() - 3, kTrackRow));
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(2, kTrackRow));
  const int middle = slider.width() / 2;
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(middle, kTrackRow));
  const std::vector<uint32_t> words = host.controller.SliderWords();
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0], 100u);
  EXPECT_EQ(words[1], 0u);
  EXPECT_NEAR(static_cast<int>(words[2]), 50, 2);
  EXPECT_LE(std::abs(slider.ThumbRect().center().x() - middle), 2);
}

TEST(SliderEx, SetPosClampsAndSnapsWhileShownAndKeepsTheValueWhileHidden) {
  BarHost host(kBarWidth, Enabled());
  host.controller.frame = 5;
  SliderEx& slider = *host.Slider();
  slider.SetPos(150);
  EXPECT_EQ(slider.Pos(), 100);
  slider.SetPos(-5);
  EXPECT_EQ(slider.Pos(), 0);
  slider.SetPos(33);
  EXPECT_EQ(slider.Pos(), 30);
  host.bar->Place(0, 0, kBarWidth, ControlBar::kHeight, false);
  slider.SetPos(150);
  EXPECT_EQ(slider.Pos(), 150);
  EXPECT_TRUE(host.controller.SliderWords().empty());
}

TEST(SliderEx, MarksArePaintedAtTheirTimesAndTheOneAtThePositionStandsOut) {
  BarHost host(kBarWidth, Enabled({10, 50, 90}, 50));
  SliderEx& slider = *host.Slider();
  const QImage picture = Picture(slider);
  EXPECT_EQ(Runs(picture, kNormalInside), (std::vector<int>{MarkCentre(slider, 10), MarkCentre(slider, 90)}));
  EXPECT_EQ(Runs(picture, kAtPositionInside), std::vector<int>{MarkCentre(slider, 50)});
}

TEST(SliderEx, HoveringAMarkHighlightsItAndOffersAHorizontalCursor) {
  BarHost host(kBarWidth, Enabled({10, 50}));
  SliderEx& slider = *host.Slider();
  QTest::mouseMove(&slider, QPoint(MarkCentre(slider, 50) + 2, kKeyRow));
  EXPECT_EQ(slider.HoveredKey(), 1);
  EXPECT_EQ(slider.cursor().shape(), Qt::SizeHorCursor);
  EXPECT_EQ(Runs(Picture(slider), kHoveredInside), std::vector<int>{MarkCentre(slider, 50)});

  QTest::mouseMove(&slider, QPoint(MarkCentre(slider, 30), kKeyRow));
  EXPECT_EQ(slider.HoveredKey(), -1);
  EXPECT_EQ(slider.cursor().shape(), Qt::ArrowCursor);
  QTest::mouseMove(&slider, QPoint(MarkCentre(slider, 10), kTrackRow));
  EXPECT_EQ(slider.HoveredKey(), -1);
}

TEST(SliderEx, ADraggedMarkShowsAtItsNewTimeAndLeavesAGhostWhereItStarted) {
  BarHost host(kBarWidth, Enabled({10, 50}, 80));
  SliderEx& slider = *host.Slider();
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(MarkCentre(slider, 10), kKeyRow));
  QTest::mouseMove(&slider, QPoint(MarkCentre(slider, 30), kKeyRow));
  const QImage picture = Picture(slider);
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(MarkCentre(slider, 30), kKeyRow));

  EXPECT_EQ(Runs(picture, kDraggedInside), std::vector<int>{MarkCentre(slider, 30)});
  EXPECT_EQ(Runs(picture, kNormalInside), std::vector<int>{MarkCentre(slider, 50)});
  const std::vector<int> ghost = Runs(picture, kDragStartOutline);
  ASSERT_FALSE(ghost.empty());
  EXPECT_EQ(ghost.front(), MarkCentre(slider, 10));
  EXPECT_TRUE(Runs(Picture(slider), kDraggedInside).empty()) << "still dragged after the release";
}

TEST(SliderEx, DisabledShowsNoMarksAndTakesNoInput) {
  BarViewState state = Enabled({10, 50}, 10);
  state.controlsEnabled = false;
  BarHost host(kBarWidth, state);
  SliderEx& slider = *host.Slider();
  const QImage picture = Picture(slider);
  for (const QRgb colour : {kNormalInside, kAtPositionInside}) EXPECT_TRUE(Runs(picture, colour).empty());
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() - 3, kTrackRow));
  EXPECT_TRUE(host.controller.SliderWords().empty());
}

}  // namespace
}  // namespace lumetra::ui::qt
