// An animation run's frame list: told to the host, then narrowed to what the host picked.
#include "plugin/animation_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "abi/animation_run_record.h"
#include "abi/result_codes.h"

namespace lumetra::plugin {
namespace {

// What a host answers and was told; one run at a time.
struct Host {
  std::optional<abi::AnimationRunRecord> run;
  std::optional<abi::AnimationFramesRecord> told;
  int32_t tellAnswer = abi::kOk;
};
Host g_host;

int32_t LUMETRA_STDCALL GetHostValue(int32_t selector, void* value) {
  if (selector == abi::kHostValueAnimationRun) {
    if (!g_host.run) return abi::kNotFound;
    *static_cast<const abi::AnimationRunRecord**>(value) = &*g_host.run;
    return abi::kOk;
  }
  if (selector == abi::kHostValueAnimationFrames) {
    g_host.told = *static_cast<const abi::AnimationFramesRecord*>(value);
    return g_host.tellAnswer;
  }
  return abi::kIndexOutOfRange;
}

class PlanAnimationRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_host = Host{};
    host_.getHostValue = GetHostValue;
    // One second at 15 frames per second: frames 0..15, 320 ticks apart.
    job_.startTime = 0;
    job_.endTime = 4800;
    job_.width = 64;
    job_.height = 48;
    job_.animationSettings.frameRateNumerator = 15;
    job_.animationSettings.frameRateDenominator = 1;
  }
  abi::AnimationRunRecord& Asked(uint32_t fields) {
    g_host.run = abi::AnimationRunRecord{};
    g_host.run->size = sizeof(abi::AnimationRunRecord);
    g_host.run->version = abi::kAnimationRunVersion;
    g_host.run->fields = fields;
    return *g_host.run;
  }
  static std::vector<int32_t> Indices(const RunPlan& plan) {
    std::vector<int32_t> indices;
    for (const animation::Frame& frame : plan.frames) indices.push_back(frame.index);
    return indices;
  }

  abi::SceneRecord host_{};
  render::RenderJob job_;
};

TEST_F(PlanAnimationRunTest, TheHostIsToldTheWholeRunWhateverItPicks) {
  abi::AnimationRunRecord& run = Asked(abi::kRunFrames);
  run.firstFrame = 3;
  run.lastFrame = 13;
  run.frameStride = 5;
  const RunPlan plan = PlanAnimationRun(job_, host_);
  EXPECT_EQ(Indices(plan), (std::vector<int32_t>{3, 8, 13}));
  EXPECT_EQ(plan.frames[1].time, 8 * 320) << "a picked frame keeps its time in the whole run";
  EXPECT_FALSE(plan.listOnly);
  EXPECT_FALSE(plan.pictures);
  ASSERT_TRUE(g_host.told);
  EXPECT_EQ(g_host.told->size, sizeof(abi::AnimationFramesRecord));
  EXPECT_EQ(g_host.told->firstIndex, 0);
  EXPECT_EQ(g_host.told->count, 16);
  EXPECT_EQ(g_host.told->startTime, 0);
  EXPECT_EQ(g_host.told->step, 320);
  EXPECT_EQ(g_host.told->width, 64);
  EXPECT_EQ(g_host.told->height, 48);
}

TEST_F(PlanAnimationRunTest, ARunStartingLaterIndexesFromItsStartAndPicksByThoseIndices) {
  job_.startTime = 3200;  // frame 10 of the movie
  job_.animationSettings.dropLastFrame = true;
  abi::AnimationRunRecord& run = Asked(abi::kRunFrames);
  run.firstFrame = 0;
  run.lastFrame = 12;
  run.frameStride = 0;  // taken as 1
  const RunPlan plan = PlanAnimationRun(job_, host_);
  EXPECT_EQ(Indices(plan), (std::vector<int32_t>{10, 11, 12}));
  EXPECT_EQ(g_host.told->firstIndex, 10);
  EXPECT_EQ(g_host.told->count, 5) << "10..14: the frame on the end time is dropped";
}

TEST_F(PlanAnimationRunTest, AListOnlyRunRendersNothingAndPicturesStandInForRendering) {
  Asked(abi::kRunListOnly);
  const RunPlan listed = PlanAnimationRun(job_, host_);
  EXPECT_TRUE(listed.listOnly);
  EXPECT_TRUE(listed.frames.empty());
  EXPECT_EQ(g_host.told->count, 16);

  abi::AnimationRunRecord& run = Asked(abi::kRunFromPictures);
  run.picturesOutput = abi::kOutputPng;
  std::memset(run.picturesBase, 'x', sizeof run.picturesBase);  // no terminating NUL
  const RunPlan joined = PlanAnimationRun(job_, host_);
  ASSERT_TRUE(joined.pictures);
  EXPECT_EQ(joined.pictures->base, std::string(sizeof run.picturesBase, 'x'));
  EXPECT_EQ(joined.pictures->output, abi::kOutputPng);
  EXPECT_EQ(joined.frames.size(), 16u);
}

TEST_F(PlanAnimationRunTest, AHostThatAsksNothingOrCannotBeToldGetsEveryFrame) {
  g_host.tellAnswer = abi::kIndexOutOfRange;  // a host of the original platform
  EXPECT_EQ(PlanAnimationRun(job_, host_).frames.size(), 16u);
  host_.getHostValue = nullptr;
  EXPECT_EQ(PlanAnimationRun(job_, host_).frames.size(), 16u);
  job_.animationSettings.frameRateNumerator = 0;  // no frame length: no frames
  EXPECT_TRUE(PlanAnimationRun(job_, host_).frames.empty());
}

}  // namespace
}  // namespace lumetra::plugin
