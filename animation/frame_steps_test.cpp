#include "animation/frame_steps.h"

#include <gtest/gtest.h>

namespace lumetra::animation {
namespace {

TEST(FrameSteps, OneSecondAtFifteenFramesIsSixteenFramesEndingOnTheEndTime) {
  const auto frames = FrameSteps(0, 4800, 15, 1, false);
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 16u);
  EXPECT_EQ(frames->front().time, 0);
  EXPECT_EQ((*frames)[1].time, 320);
  EXPECT_EQ(frames->back().time, 4800);
  EXPECT_EQ(frames->back().index, 15);
}

TEST(FrameSteps, NoFrameLiesPastTheEndAndIndicesCountFromTheStartsFrame) {
  const auto frames = FrameSteps(1000, 2000, 15, 1, false);
  ASSERT_TRUE(frames);
  // 1000, 1320, 1640, 1960: the next step (2280) is past the end.
  ASSERT_EQ(frames->size(), 4u);
  EXPECT_EQ(frames->back().time, 1960);
  EXPECT_EQ(frames->front().index, 1000 / 320);
  EXPECT_EQ(frames->back().index, 1000 / 320 + 3);
}

TEST(FrameSteps, NtscStepsInWholeTicks) {
  EXPECT_EQ(FrameStep(5994, 100), 80);  // 4800 * 100 / 5994, truncated
  const auto frames = FrameSteps(0, 4800, 5994, 100, false);
  ASSERT_TRUE(frames);
  EXPECT_EQ(frames->size(), 61u);
}

TEST(FrameSteps, DroppingTheLastFrameLeavesOutOnlyAFrameOnTheEndTime) {
  EXPECT_EQ(FrameSteps(0, 4800, 15, 1, true)->size(), 15u);
  EXPECT_EQ(FrameSteps(1000, 2000, 15, 1, true)->size(), 4u) << "no frame falls on the end";
  EXPECT_EQ(FrameSteps(0, 0, 15, 1, true)->size(), 1u) << "a single frame stays";
}

TEST(FrameSteps, RatesWithoutAWholePositiveStepGiveNoFrames) {
  EXPECT_FALSE(FrameSteps(0, 4800, 0, 1, false));
  EXPECT_FALSE(FrameSteps(0, 4800, 15, 0, false));
  EXPECT_FALSE(FrameSteps(0, 4800, -15, 1, false));
  EXPECT_FALSE(FrameSteps(0, 4800, 9600, 1, false)) << "more frames a second than ticks";
  EXPECT_TRUE(FrameSteps(0, 100, 15, 1, false)->size() == 1u);
  EXPECT_TRUE(FrameSteps(100, 0, 15, 1, false)->empty()) << "an end before the start renders nothing";
}

TEST(FrameSteps, AnEndNearTheLargestTickDoesNotWrapRound) {
  const auto frames = FrameSteps(INT32_MAX - 500, INT32_MAX, 15, 1, false);
  ASSERT_TRUE(frames);
  EXPECT_EQ(frames->size(), 2u);
}

}  // namespace
}  // namespace lumetra::animation
