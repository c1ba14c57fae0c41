#include "platform/message_loop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace lumetra::platform {
namespace {

constexpr std::uint32_t kPaint = WM_USER + 1;

TEST(MessageLoop, DeliversPostedMessagesInOrderOnTheLoopThreadThenQuits) {
  MessageLoop loop;
  std::vector<std::uintptr_t> seen;
  std::vector<std::thread::id> threads;
  const WindowId window = loop.CreateWindow([&](MessageLoop&, const Message& message) {
    seen.push_back(message.wparam);
    threads.push_back(std::this_thread::get_id());
    return true;
  });
  EXPECT_NE(window, kNoWindow);
  std::thread poster([&] {
    for (std::uintptr_t i = 0; i < 100; ++i) EXPECT_TRUE(loop.Post(window, kPaint, i));
    loop.PostQuit(7);
  });
  poster.join();
  EXPECT_FALSE(loop.Post(window + 1000, kPaint));
  EXPECT_EQ(loop.Run(), 7);
  ASSERT_EQ(seen.size(), 100u);
  for (std::uintptr_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i);
  for (std::thread::id id : threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(MessageLoop, TimersTickOnTheLoopThreadUntilKilled) {
  MessageLoop loop;
  int ticks = 0;
  std::vector<std::thread::id> threads;
  // The quitter's timer starts when the ticking one is killed, with the same interval. Due
  // timers are handed out window by window and the ticking window was made first, so a
  // tick from a timer that was not killed would always come before the quit, however late
  // the loop thread runs.
  WindowId quitter = kNoWindow;
  const WindowId window = loop.CreateWindow([&](MessageLoop& self, const Message& message) {
    if (message.message != WM_TIMER || message.wparam != 42) return false;
    threads.push_back(std::this_thread::get_id());
    if (++ticks == 3) {
      EXPECT_TRUE(self.KillTimer(message.window, 42));
      EXPECT_TRUE(self.SetTimer(quitter, 1, 5));
    }
    return true;
  });
  quitter = loop.CreateWindow([&](MessageLoop& self, const Message& message) {
    EXPECT_EQ(message.message, WM_TIMER);
    self.PostQuit(0);
    return true;
  });
  ASSERT_LT(window, quitter);
  std::thread starter([&] { EXPECT_TRUE(loop.SetTimer(window, 42, 5)); });
  starter.join();
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_EQ(ticks, 3);
  for (std::thread::id id : threads) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_FALSE(loop.KillTimer(window, 42));
}

TEST(MessageLoop, CopyDataCarriesItsOwnCopyOfTheBytes) {
  MessageLoop loop;
  Message received;
  const WindowId window = loop.CreateWindow([&](MessageLoop& self, const Message& message) {
    received = message;
    self.PostQuit(0);
    return false;  // and the default handling, which leaves WM_COPYDATA alone
  });
  std::vector<std::uint8_t> bytes = {3, 0, 0, 0};
  ASSERT_TRUE(loop.PostCopyData(window, 99, 0x1234, bytes));
  bytes[0] = 2;
  loop.Run();
  EXPECT_EQ(received.message, WM_COPYDATA);
  EXPECT_EQ(received.wparam, 99u);
  EXPECT_EQ(received.copyDataKind, 0x1234u);
  EXPECT_EQ(received.copyData, (std::vector<std::uint8_t>{3, 0, 0, 0}));
  EXPECT_TRUE(loop.IsWindow(window));
}

TEST(MessageLoop, DefaultHandlingOfCloseDestroysTheWindowAndDropsItsMessages) {
  MessageLoop loop;
  int handled = 0;
  const WindowId window = loop.CreateWindow([&](MessageLoop&, const Message&) {
    ++handled;
    return false;
  });
  ASSERT_TRUE(loop.SetTimer(window, 1, 1));
  ASSERT_TRUE(loop.Post(window, WM_CLOSE));
  ASSERT_TRUE(loop.Post(window, kPaint));  // queued before the close is handled: dropped
  loop.PostQuit(3);
  EXPECT_EQ(loop.Run(), 3);
  EXPECT_EQ(handled, 1);
  EXPECT_FALSE(loop.IsWindow(window));
  EXPECT_FALSE(loop.Post(window, kPaint));
  EXPECT_FALSE(loop.SetTimer(window, 1, 1));
}

TEST(MessageLoop, RunsOnceAtATimeOnlyOnTheThreadThatMadeIt) {
  MessageLoop loop;
  const WindowId window = loop.CreateWindow([](MessageLoop& self, const Message& message) {
    if (message.message == kPaint) self.Run();  // nested: refused
    return true;
  });
  loop.Post(window, kPaint);
  EXPECT_THROW(loop.Run(), std::logic_error);
  loop.PostQuit(5);
  std::thread other([&] { EXPECT_THROW(loop.Run(), std::logic_error); });
  other.join();
  EXPECT_EQ(loop.Run(), 5);  // the failed runs left the loop usable
}

}  // namespace
}  // namespace lumetra::platform
