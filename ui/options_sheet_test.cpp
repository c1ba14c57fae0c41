#include "ui/options_sheet.h"

#include <gtest/gtest.h>

#include <memory>

#include "keyframe/testing/host_fixture.h"
#include "platform/testing/recording_messages.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::ui {
namespace {

using keyframe::testing::HostFixture;

constexpr int32_t kScanline = 3;
constexpr int32_t kRaytracing = 4;
constexpr size_t kShadowsBox = 0;
constexpr size_t kTransmissionBox = 2;
constexpr size_t kVolumesBox = 6;

std::string EditOf(const OptionsViewState& state, OptionsEdit edit) {
  return state.edits[static_cast<size_t>(edit)];
}

class OptionsSheetTest : public ::testing::Test {
 protected:
  OptionsSheetTest() {
    animation_.SetRange(0, 4800);
    ball_ = &fixture_.Add(abi::kTypeSphere, "Ball");
    fixture_.scene.selected = ball_->id;
    bar_.SetSelectedObject(ball_->id, "Ball");
    bar_.Initialise();
  }

  OptionsSources Sources() {
    OptionsSources sources;
    sources.jobs = &jobs_;
    sources.scene = &animation_;
    sources.bar = &bar_;
    sources.barFormat = &format_;
    sources.registry = &registry_;
    sources.basePath = "Software\\Test\\";
    return sources;
  }

  platform::RecordingMessages messages_;
  platform::ScratchDirectory home_;
  platform::Registry registry_{home_.Path(), home_.Path()};
  HostFixture fixture_;
  keyframe::SceneAnimation animation_{fixture_.host};
  keyframe::TimeFormat format_ = render::AnimationSettings().TimeFormat();
  AnimControlBar bar_{animation_, format_};
  render::JobList jobs_;
  host::SceneObject* ball_ = nullptr;
};

TEST_F(OptionsSheetTest, EachMethodKeepsItsOwnFlagsAndShading) {
  OptionsSheet sheet(Sources());
  EXPECT_EQ(sheet.State().rendering.method, kRaytracing);
  // The tracing default 454: Gouraud, flipped normals, shadows, reflection, transmission.
  EXPECT_EQ(sheet.State().rendering.shading, 1);
  sheet.SetFlag(kVolumesBox, true);
  sheet.SetFlag(kShadowsBox, false);
  sheet.SelectShading(2);
  sheet.SelectMethod(kScanline);
  const RenderingPageView scanline = sheet.State().rendering;
  EXPECT_FALSE(scanline.flags[kVolumesBox]);
  EXPECT_FALSE(scanline.flags[kShadowsBox]);
  EXPECT_EQ(scanline.shading, 1);
  sheet.SelectMethod(kRaytracing);
  const RenderingPageView tracing = sheet.State().rendering;
  EXPECT_TRUE(tracing.flags[kVolumesBox]);
  EXPECT_FALSE(tracing.flags[kShadowsBox]);
  EXPECT_EQ(tracing.shading, 2);
  ASSERT_TRUE(sheet.Accept());
  // 454 - shadows 0x40 + volumes 0x200 + Phong 0x20.
  EXPECT_EQ(sheet.RenderSettings().shadingFlags[kRaytracing], 454u - 0x40 + 0x200 + 0x20);
  EXPECT_EQ(sheet.RenderSettings().shadingFlags[kScanline], 14u);
  EXPECT_EQ(sheet.RenderSettings().method, kRaytracing);
}

TEST_F(OptionsSheetTest, ScanlineTransmissionDisablesTheDepthEdit) {
  OptionsSources sources = Sources();
  sources.rendering.shadingFlags[kScanline] |= abi::kShadingTransmission;
  OptionsSheet sheet(std::move(sources));
  EXPECT_FALSE(sheet.State().rendering.depthEnabled);  // Raytracing never has it
  sheet.SelectMethod(kScanline);
  EXPECT_TRUE(sheet.State().rendering.flags[kTransmissionBox]);
  EXPECT_FALSE(sheet.State().rendering.depthEnabled);
  sheet.SetFlag(kTransmissionBox, false);
  EXPECT_TRUE(sheet.State().rendering.depthEnabled);
  sheet.SetFlag(kTransmissionBox, true);
  EXPECT_FALSE(sheet.State().rendering.depthEnabled);
  // Other methods' transmission leaves the depth alone.
  sheet.SelectMethod(kRaytracing);
  sheet.SetFlag(kTransmissionBox, false);
  EXPECT_FALSE(sheet.State().rendering.depthEnabled);
}

TEST_F(OptionsSheetTest, NumberEditsOutsideTheirRangesKeepTheSheetOpen) {
  OptionsSheet sheet(Sources());
  const std::pair<OptionsEdit, const char*> refused[] = {
      {OptionsEdit::TransparencyDepth, "33"}, {OptionsEdit::TransparencyDepth, "two"},
      {OptionsEdit::VolumeStepSize, "-0.5"},  {OptionsEdit::MinimumSteps, "1000001"},
      {OptionsEdit::MaximumSteps, "-1"},      {OptionsEdit::CustomRate, "121"}};
  for (const auto& [edit, text] : refused) {
    OptionsSheet edited(Sources());
    edited.EditText(edit, text);
    EXPECT_FALSE(edited.Accept()) << text;
  }
  ASSERT_EQ(messages_.Count(), std::size(refused));
  EXPECT_EQ(messages_.Calls()[0].text, "Please enter an integer between 0 and 32.");
  EXPECT_EQ(messages_.Calls()[2].text, "Please enter a number of at least 0.");
  EXPECT_EQ(messages_.Calls()[5].text, "Please enter a number between 0.01 and 120.");

  sheet.EditText(OptionsEdit::TransparencyDepth, "32");
  sheet.EditText(OptionsEdit::VolumeStepSize, "0.25");
  sheet.EditText(OptionsEdit::MinimumSteps, "0");
  sheet.EditText(OptionsEdit::MaximumSteps, "1000000");
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(sheet.RenderSettings().scanlineDepth, 32);
  EXPECT_FLOAT_EQ(sheet.RenderSettings().volumeStepSize, 0.25f);
  EXPECT_EQ(sheet.RenderSettings().volumeMinSteps, 0);
  EXPECT_EQ(sheet.RenderSettings().volumeMaxSteps, 1000000);
  EXPECT_EQ(messages_.Count(), std::size(refused));
}

TEST_F(OptionsSheetTest, AbortNeedsASelectionAndAZombieCannotBeAborted) {
  auto zombie = std::make_shared<render::RenderJob>();
  zombie->outputPath = "C:\\renders\\walk.avi";
  zombie->hasWindowThread = true;
  zombie->state = static_cast<int32_t>(render::JobState::Zombie);
  jobs_.Add(zombie);
  OptionsSheet sheet(Sources());
  const OptionsViewState state = sheet.State();
  ASSERT_EQ(state.jobs.size(), 1u);
  EXPECT_EQ(state.jobs[0].name, "walk.avi");
  EXPECT_EQ(state.jobs[0].state, "Zombie");

  sheet.AbortJob(-1);
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].caption, "Error");
  EXPECT_EQ(messages_.Calls()[0].text, "Select a job to delete");
  EXPECT_EQ(jobs_.Count(), 1u);

  sheet.AbortJob(0);
  ASSERT_EQ(messages_.Count(), 2u);
  EXPECT_EQ(messages_.Calls()[1].caption, "Error");
  EXPECT_EQ(messages_.Calls()[1].text, "Can't abort: 'walk.avi'");
  EXPECT_EQ(sheet.State().jobs.size(), 1u);

  // The lists follow the job list while the sheet is open.
  jobs_.Remove(zombie.get());
  EXPECT_TRUE(sheet.State().jobs.empty());
  EXPECT_EQ(messages_.Count(), 2u);
}

TEST_F(OptionsSheetTest, CustomRatesGiveTheirFractions) {
  OptionsSources sources = Sources();
  sources.animation.frameRateChoice = abi::kCustomFrameRateChoice;
  OptionsSheet sheet(std::move(sources));
  ASSERT_TRUE(sheet.SetCustomRate("29.97"));
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::CustomRate), "  29.97");
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(sheet.AnimationSettings().frameRateNumerator, 29970);
  EXPECT_EQ(sheet.AnimationSettings().frameRateDenominator, 1000);
  ASSERT_TRUE(sheet.SetCustomRate("12"));
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(sheet.AnimationSettings().frameRateNumerator, 12);
  EXPECT_EQ(sheet.AnimationSettings().frameRateDenominator, 1);

  EXPECT_FALSE(sheet.SetCustomRate("0.001"));
  EXPECT_FALSE(sheet.SetCustomRate("120.5"));
  ASSERT_EQ(messages_.Count(), 2u);
  EXPECT_EQ(messages_.Calls()[0].text, "Please enter a number between 0.01 and 120.");
  EXPECT_FLOAT_EQ(sheet.AnimationSettings().customFrameRate, 12.0f);
  EXPECT_TRUE(sheet.SetCustomRate("0.01"));
  EXPECT_TRUE(sheet.SetCustomRate("120"));
  // A rate typed into the page's own edit is taken on OK.
  sheet.EditText(OptionsEdit::CustomRate, "25");
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(sheet.AnimationSettings().frameRateNumerator, 25);
  EXPECT_EQ(sheet.AnimationSettings().frameRateDenominator, 1);
}

TEST_F(OptionsSheetTest, ACustomRateRewritesTheTimesOnlyWhenCustomIsChosen) {
  OptionsSheet sheet(Sources());  // 15 FPS, frames: 4800 ticks are frame 15
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "15");
  ASSERT_TRUE(sheet.SetCustomRate("30"));
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "15");
  sheet.SelectFrameRate(abi::kCustomFrameRateChoice);
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "30");
  ASSERT_TRUE(sheet.SetCustomRate("60"));
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "60");
}

TEST_F(OptionsSheetTest, QualityAndCodecTexts) {
  OptionsSheet sheet(Sources());
  EXPECT_EQ(sheet.State().animation.codecText, "Codec : MSVC");
  sheet.ChooseCompressor({render::FourCC("MJPG"), 10000, 1, 0});
  EXPECT_EQ(sheet.State().animation.codecText, "Codec : MJPG");
  EXPECT_EQ(sheet.State().animation.qualityText, "Quality: %100");
  sheet.ChooseCompressor({render::FourCC("MJPG"), 7500, 1, 0});
  EXPECT_EQ(sheet.State().animation.qualityText, "Quality: %75   ");
  EXPECT_TRUE(sheet.State().modified);
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(sheet.AnimationSettings().compressor, render::FourCC("MJPG"));
  EXPECT_EQ(sheet.AnimationSettings().quality, 7500);
}

TEST_F(OptionsSheetTest, RescaleRefusesAnEmptyRangeIgnoresTheSameOneAndMovesKeys) {
  bar_.OnSliderNotify(2400);
  bar_.RunKeyCommand(kSetSelected);
  OptionsSheet sheet(Sources());
  EXPECT_EQ(sheet.State().animation.rangeStart, "0");
  EXPECT_EQ(sheet.State().animation.rangeEnd, "15");

  sheet.Rescale("10", "10");
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].caption, "Error");
  EXPECT_EQ(messages_.Calls()[0].text, "Invalid rescale time, start must be less than end time");
  sheet.Rescale("0", "15");
  EXPECT_FALSE(sheet.Modified());
  ASSERT_EQ(animation_.FindTrack(ball_->id)->KeyCount(), 1);
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyTime(0), 2400);

  sheet.Rescale("0", "30");
  EXPECT_TRUE(sheet.Modified());
  EXPECT_EQ(animation_.FindTrack(ball_->id)->KeyTime(0), 4800);
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "30");
  EXPECT_EQ(messages_.Count(), 1u);
}

TEST_F(OptionsSheetTest, AviChoosesSelectOverTheBaseName) {
  OptionsSources sources = Sources();
  sources.animation.fileOutput = static_cast<int32_t>(render::FileOutput::Png);
  OptionsSheet sheet(std::move(sources));
  EXPECT_TRUE(sheet.State().animation.baseNameEnabled);
  EXPECT_FALSE(sheet.State().animation.selectEnabled);
  sheet.SelectFileFormat(static_cast<int32_t>(render::FileOutput::Avi));
  EXPECT_FALSE(sheet.State().animation.baseNameEnabled);
  EXPECT_TRUE(sheet.State().animation.selectEnabled);
  EXPECT_TRUE(sheet.Modified());
}

TEST_F(OptionsSheetTest, DisplayAndRateChangesKeepUntypedTimesAndAcceptMovesTheBar) {
  OptionsSheet sheet(Sources());
  sheet.EditText(OptionsEdit::EndTime, "20");  // frame 20 at 15 FPS: 6400 ticks
  sheet.SelectTimeDisplay(static_cast<int32_t>(keyframe::TimeDisplay::FrameTicks));
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "20:0");
  sheet.SelectFrameRate(4);  // 30 FPS
  EXPECT_EQ(EditOf(sheet.State(), OptionsEdit::EndTime), "40:0");
  sheet.EditText(OptionsEdit::CurrentTime, "10:0");
  sheet.SelectKeySteps(static_cast<int32_t>(keyframe::KeySteps::Scene));
  ASSERT_TRUE(sheet.Accept());
  EXPECT_EQ(animation_.EndTime(), 6400);
  EXPECT_EQ(animation_.CurrentTime(), 1600);
  EXPECT_EQ(animation_.KeyStepsMode(), keyframe::KeySteps::Scene);
  EXPECT_EQ(bar_.Slider().Maximum(), 6400);
  EXPECT_EQ(bar_.Slider().Pos(), 1600);
  EXPECT_EQ(format_.numerator, 30);
  EXPECT_EQ(format_.display, keyframe::TimeDisplay::FrameTicks);
}

TEST_F(OptionsSheetTest, DefaultsGoToAndComeFromTheRegistry) {
  ASSERT_EQ(render::AnimationSettings().Load(registry_, "Software\\Test\\"), platform::ERROR_SUCCESS);
  OptionsSheet sheet(Sources());
  sheet.SelectFileFormat(static_cast<int32_t>(render::FileOutput::Tif));
  sheet.SelectFrameRate(2);
  sheet.SaveDefaults();
  render::AnimationSettings stored;
  ASSERT_EQ(stored.Load(registry_, "Software\\Test\\"), platform::ERROR_SUCCESS);
  EXPECT_EQ(stored.fileOutput, static_cast<int32_t>(render::FileOutput::Tif));
  EXPECT_EQ(stored.frameRateNumerator, 24);

  OptionsSheet other(Sources());
  EXPECT_EQ(other.State().animation.fileFormat, 0);
  other.LoadDefaults();
  EXPECT_EQ(other.State().animation.fileFormat, static_cast<int32_t>(render::FileOutput::Tif));
  EXPECT_EQ(other.State().animation.frameRate, 2);
  EXPECT_TRUE(other.Modified());
  EXPECT_EQ(messages_.Count(), 0u);
}

}  // namespace
}  // namespace lumetra::ui
