#include "ui/anim_control_bar.h"

#include <gtest/gtest.h>

#include "abi/bar_site_record.h"
#include "keyframe/testing/host_fixture.h"
#include "keyframe/ticks.h"
#include "platform/testing/recording_messages.h"

namespace lumetra::ui {
namespace {

using keyframe::testing::HostFixture;

abi::host_fn::GetHostValue g_hostGetHostValue = nullptr;
bool g_shiftHeld = false;

int32_t LUMETRA_STDCALL GetHostValueWithShift(int32_t selector, void* value) {
  if (selector != abi::kHostValueShiftKey) return g_hostGetHostValue(selector, value);
  *static_cast<uint32_t*>(value) = g_shiftHeld ? 1 : 0;
  return 0;
}

class AnimControlBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_hostGetHostValue = fixture_.record.getHostValue;
    fixture_.record.getHostValue = GetHostValueWithShift;
    g_shiftHeld = false;
    animation_.SetRange(0, 48000);
    ball_ = &fixture_.Add(abi::kTypeSphere, "Ball");
    fixture_.scene.selected = ball_->id;
    bar_.SetSelectedObject(ball_->id, "Ball");
  }

  // Keys the ball at `time` through the popup, as a person would.
  void KeyBallAt(int32_t time, double x) {
    bar_.OnSliderNotify(static_cast<uint32_t>(time));
    ball_->params.translate[0] = x;
    bar_.RunKeyCommand(kSetSelected);
  }

  HostFixture fixture_;
  keyframe::SceneAnimation animation_{fixture_.host};
  keyframe::TimeFormat format_{keyframe::TimeDisplay::Frames, 4, 30, 1};  // 160 ticks a frame
  AnimControlBar bar_{animation_, format_};
  host::SceneObject* ball_ = nullptr;
};

TEST(TimeSlider, SnapsToFramesClampsWhileVisibleAndKeepsValuesWhileHidden) {
  TimeSlider slider;
  EXPECT_EQ(slider.ThumbText(), "0/99");
  keyframe::TimeFormat format{keyframe::TimeDisplay::Frames, 4, 30, 1};
  slider.SetTimeFormat(&format);
  slider.SetRange(0, 4800);
  slider.SetPos(500);
  EXPECT_EQ(slider.Pos(), 480);
  EXPECT_EQ(slider.ThumbText(), "3/30");
  slider.SetPos(-50);
  EXPECT_EQ(slider.Pos(), 0);
  slider.SetPos(99999);
  EXPECT_EQ(slider.Pos(), 4800);
  EXPECT_EQ(slider.Step(), 160);
  slider.SetVisible(false);
  slider.SetPos(99999);
  EXPECT_EQ(slider.Pos(), 99999);
  slider.SetKeyTimes({100, 200});
  EXPECT_TRUE(slider.SetKeyTime(1, 6000));
  EXPECT_EQ(slider.KeyTime(1), 4800) << "a dragged key stops at the end";
  EXPECT_FALSE(slider.SetKeyTime(2, 0));
  format.display = keyframe::TimeDisplay::Smpte;
  slider.SetVisible(true);
  slider.SetPos(4800);
  EXPECT_EQ(slider.ThumbText(), "00:01:0");
}

TEST_F(AnimControlBarTest, AnimationModeEnablesTheControlsButNeverPlay) {
  bar_.Initialise();
  EXPECT_FALSE(bar_.AnimationMode()) << "the current time is 0";
  EXPECT_FALSE(bar_.Enabled(kStepForward));
  bar_.OnInterpolationSelected(2);
  bar_.ToggleAnimationMode();
  EXPECT_TRUE(bar_.AnimationMode());
  EXPECT_EQ(bar_.InterpolationIndex(), 1) << "switching on selects Linear";
  EXPECT_TRUE(bar_.Enabled(kGoToEnd));
  EXPECT_TRUE(bar_.Enabled(kInterpolationBox));
  EXPECT_FALSE(bar_.Enabled(kPlay));
  EXPECT_EQ(bar_.PlayStep(), 160);
  bar_.OnSliderNotify(800);
  bar_.ToggleAnimationMode();
  EXPECT_EQ(animation_.CurrentTime(), 0);
  EXPECT_EQ(bar_.Slider().Pos(), 0);
  bar_.Transport(kGoToEnd);
  EXPECT_EQ(animation_.CurrentTime(), 0) << "transport works only in animation mode";
}

TEST_F(AnimControlBarTest, TheWindowProcedureAnswersTheFrameLengthOfTheTimeFormat) {
  EXPECT_EQ(bar_.HandleMessage(abi::kBarGetFrameTicks, 0, 0), 160);
  format_ = {keyframe::TimeDisplay::Smpte, static_cast<int32_t>(keyframe::FrameRate::Ntsc), 0, 0};
  EXPECT_EQ(bar_.HandleMessage(abi::kBarGetFrameTicks, 0, 0), 80) << "NTSC steps as 60 frames a second";
  format_ = {keyframe::TimeDisplay::Frames, static_cast<int32_t>(keyframe::FrameRate::Custom), 12, 5};
  EXPECT_EQ(bar_.HandleMessage(abi::kBarGetFrameTicks, 0, 0), 2000);
  format_.numerator = 0;
  EXPECT_EQ(bar_.HandleMessage(abi::kBarGetFrameTicks, 0, 0), keyframe::kNoFrameLength);
}

TEST_F(AnimControlBarTest, KeysThroughThePopupAndStepsThroughKeyTimes) {
  bar_.Initialise();
  bar_.SetAnimationMode(true);
  KeyBallAt(1600, 1.0);
  KeyBallAt(3200, 2.0);
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyCount(), 2);
  EXPECT_EQ(bar_.Slider().KeyTimes(), (std::vector<int32_t>{1600, 3200}));
  EXPECT_EQ(bar_.Picture(), KeyPicture::AtKey);
  bar_.OnSliderNotify(2400);
  EXPECT_EQ(bar_.Picture(), KeyPicture::BetweenKeys);
  EXPECT_DOUBLE_EQ(ball_->params.translate[0], 1.5);
  bar_.Transport(kStepForward);
  EXPECT_EQ(animation_.CurrentTime(), 3200);
  bar_.Transport(kStepForward);
  EXPECT_EQ(animation_.CurrentTime(), 3200) << "no later key time";
  bar_.Transport(kStepBack);
  EXPECT_EQ(animation_.CurrentTime(), 1600);
  bar_.Transport(kGoToEnd);
  EXPECT_EQ(animation_.CurrentTime(), 48000);
  EXPECT_EQ(bar_.Picture(), KeyPicture::NoKey);
  bar_.OnInterpolationSelected(7);
  EXPECT_EQ(bar_.InterpolationChoice(), 1) << "an index outside 0..3 counts as Linear";
  bar_.OnInterpolationSelected(0);
  EXPECT_EQ(animation_.TrackInterpolation(ball_->id), 0);
}

TEST_F(AnimControlBarTest, KeyDragsMoveKeysUnlessShiftIsHeld) {
  bar_.Initialise();
  bar_.SetAnimationMode(true);
  KeyBallAt(1600, 1.0);
  bar_.OnSliderNotify(kSliderKeyDragBegins | 0);
  bar_.Slider().SetKeyTime(0, 4800);
  g_shiftHeld = true;
  bar_.OnSliderNotify(kSliderKeyDragEnds | 0);
  EXPECT_NE(animation_.FindTrack(ball_->id)->FindKey(1600), nullptr);
  g_shiftHeld = false;
  bar_.OnSliderNotify(kSliderKeyDragEnds | 0);
  EXPECT_NE(animation_.FindTrack(ball_->id)->FindKey(4800), nullptr);
  EXPECT_EQ(bar_.Slider().KeyTimes(), (std::vector<int32_t>{4800}));
}

TEST_F(AnimControlBarTest, PopupQuestionsGuardTheDeletions) {
  platform::RecordingMessages messages;
  bar_.Initialise();
  bar_.SetAnimationMode(true);
  KeyBallAt(1600, 1.0);
  KeyBallAt(3200, 2.0);
  bar_.RunKeyCommand(kSetScene);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.Calls()[0].caption, "Notice");
  EXPECT_EQ(messages.Calls()[0].text, "Keying the entire scene isn't implemented");

  messages.AnswerNext(platform::MessageAnswer::Cancel);
  bar_.RunKeyCommand(kDeleteFrame);
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyCount(), 2);
  EXPECT_EQ(messages.Calls()[1].caption, "Warning");
  EXPECT_EQ(messages.Calls()[1].buttons, platform::MessageButtons::OkCancel);
  bar_.RunKeyCommand(kDeleteFrame);
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyCount(), 1);
  EXPECT_FALSE(animation_.KeyTimes().contains(3200));

  ball_->params.translate[0] = 9.0;
  const size_t stores = fixture_.Log().paramStores.size();
  bar_.RunKeyCommand(kDeleteScene);
  EXPECT_EQ(messages.Calls().back().text,
            "All keys of the scene, at every frame, are about to be removed.\nObjects will remain in their "
            "current state.\nThis "
            "operation cannot be reversed.  Proceed?");
  EXPECT_EQ(animation_.TrackCount(), 0);
  EXPECT_EQ(bar_.Slider().Pos(), 0);
  EXPECT_EQ(fixture_.Log().paramStores.size(), stores) << "deleting the scene's keys writes nothing";
  EXPECT_EQ(ball_->params.translate[0], 9.0);
}

TEST_F(AnimControlBarTest, DeletingTheSelectedKeyPosesAndForgetsItsTime) {
  bar_.Initialise();
  bar_.SetAnimationMode(true);
  KeyBallAt(1600, 1.0);
  KeyBallAt(3200, 2.0);
  bar_.RunKeyCommand(kDeleteSelected);
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyCount(), 1);
  EXPECT_EQ(animation_.KeyTimes(), (std::set<int32_t>{1600}));
  EXPECT_EQ(ball_->params.translate[0], 1.0) << "posed from the remaining key";
  int page = -1;
  bar_.SetOptionsOpener([&](int opened) { page = opened; });
  bar_.RunKeyCommand(kKeyOptions);
  EXPECT_EQ(page, 2);
}

// The bar's window in a toolkit: what it was last shown.
struct RecordingBarWindow : BarWindow {
  void Show(const BarViewState& shown) override {
    state = shown;
    ++shows;
  }
  void Place(int32_t, int32_t, int32_t, int32_t, bool) override {}
  int32_t Height() const override { return AnimControlBar::kHeight; }
  BarViewState state;
  int shows = 0;
};

TEST_F(AnimControlBarTest, AWindowShowsEveryChangeAndItsInputDrivesTheBar) {
  bar_.Initialise();
  auto owned = std::make_unique<RecordingBarWindow>();
  RecordingBarWindow& window = *owned;
  bar_.SetWindow(std::move(owned));
  EXPECT_EQ(window.state.selectedName, "Ball");
  EXPECT_FALSE(window.state.controlsEnabled);
  BarController& controller = bar_;
  controller.Send(abi::kBarCommand, (abi::kButtonClicked << 16) | kKeyButton, 0);
  EXPECT_TRUE(window.state.animationMode);
  EXPECT_TRUE(window.state.controlsEnabled);
  EXPECT_EQ(window.state.maximum, 48000);

  // The slider moved itself: the bar's copy follows, and so does the picture the window shows.
  controller.Send(abi::kBarSlider, 1600, 0);
  EXPECT_EQ(animation_.CurrentTime(), 1600);
  EXPECT_EQ(window.state.position, 1600);
  ball_->params.translate[0] = 1.0;
  controller.Send(abi::kBarCommand, kSetSelected, 0);
  EXPECT_EQ(window.state.keyTimes, (std::vector<int32_t>{1600}));
  EXPECT_EQ(window.state.picture, KeyPicture::AtKey);
  EXPECT_EQ(window.state.position, 1600) << "a refresh keeps the moved slider";

  // A key mark dragged in the window: the mark's new time comes first, then the drag's end.
  controller.Send(abi::kBarSlider, kSliderKeyDragBegins | 0, 0);
  controller.MoveKeyMark(0, 3200);
  controller.Send(abi::kBarSlider, kSliderKeyDragEnds | 0, 0);
  EXPECT_NE(animation_.FindTrack(ball_->id)->FindKey(3200), nullptr);
  EXPECT_EQ(window.state.keyTimes, (std::vector<int32_t>{3200}));

  EXPECT_EQ(controller.ThumbText(4800), "30/300");
  EXPECT_EQ(controller.Snap(4900), 4800);
  EXPECT_EQ(controller.Step(), 160);
  const int shows = window.shows;
  bar_.SetWindow(nullptr);
  bar_.Transport(kGoToEnd);
  EXPECT_EQ(animation_.CurrentTime(), 48000) << "the bar works on without a window";
  EXPECT_GT(shows, 0);
}

}  // namespace
}  // namespace lumetra::ui
