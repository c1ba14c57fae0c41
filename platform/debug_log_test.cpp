#include "platform/debug_log.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace lumetra::platform {
namespace {

TEST(DebugLog, KeepsLinesAsGivenAndFormatsPrintfLines) {
  DebugLog::Clear();
  DebugLog::Write("Unknown scene event: 12\n");
  DebugLog::Printf("Unknown scene event: %d\n", 13);
  DebugLog::Write("no newline");
  EXPECT_EQ(DebugLog::Lines(), (std::vector<std::string>{"Unknown scene event: 12\n",
                                                         "Unknown scene event: 13\n", "no newline"}));
  DebugLog::Clear();
  EXPECT_TRUE(DebugLog::Lines().empty());
}

TEST(DebugLog, RingDropsTheOldestLinesWhenFull) {
  DebugLog::Clear();
  for (std::size_t i = 0; i < DebugLog::kCapacity + 5; ++i) DebugLog::Printf("line %zu\n", i);
  const std::vector<std::string> lines = DebugLog::Lines();
  ASSERT_EQ(lines.size(), DebugLog::kCapacity);
  EXPECT_EQ(lines.front(), "line 5\n");
  EXPECT_EQ(lines.back(), "line " + std::to_string(DebugLog::kCapacity + 4) + "\n");
}

TEST(DebugLog, WritersOnManyThreadsLoseNoLine) {
  DebugLog::Clear();
  constexpr int kThreads = 4;
  constexpr int kLinesEach = 200;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < kLinesEach; ++i) DebugLog::Printf("%d:%d\n", t, i);
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(DebugLog::Lines().size(), static_cast<std::size_t>(kThreads * kLinesEach));
}

}  // namespace
}  // namespace lumetra::platform
