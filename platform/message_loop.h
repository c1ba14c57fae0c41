#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <thread>
#include <utility>
#include <vector>

namespace lumetra::platform {

// Windows are 32-bit ids, never pointers, so they fit the shared records; an id names
// one window on the machine (window_directory.h).
using WindowId = std::uint32_t;
inline constexpr WindowId kNoWindow = 0;

// Message numbers as on Windows.
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_USER = 0x0400;

struct Message {
  WindowId window = kNoWindow;
  std::uint32_t message = 0;
  std::uintptr_t wparam = 0;  // WM_TIMER: the timer id; WM_COPYDATA: the sender
  std::intptr_t lparam = 0;
  // WM_COPYDATA only: the sender's tag (dwData) and its own copy of the bytes.
  std::uintptr_t copyDataKind = 0;
  std::vector<std::uint8_t> copyData;
};

class MessageLoop;
// Returns true when it handled the message; otherwise the default handling runs.
using WindowHandler = std::function<bool(MessageLoop&, const Message&)>;

// A thread's message queue with its windows, like a Win32 thread that owns
// windows. The constructing thread owns it and is the only one that may
// Run() it; handlers and timers run there. Posting, quitting, timers and
// window management are safe from any thread.
class MessageLoop {
 public:
  MessageLoop();
  ~MessageLoop();
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  WindowId CreateWindow(WindowHandler handler);
  // Kills the window's timers; messages still queued for it are dropped.
  void DestroyWindow(WindowId window);
  bool IsWindow(WindowId window) const;

  // False for a window that does not exist (any more).
  bool Post(WindowId window, std::uint32_t message, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  // A window of this loop only; window_directory::SendCopyData reaches any window.
  bool PostCopyData(WindowId window, WindowId sender, std::uintptr_t kind,
                    std::span<const std::uint8_t> bytes);
  // Run() returns `exitCode` once the messages posted before the quit are handled.
  void PostQuit(int exitCode = 0);

  // (Re)starts a timer that delivers WM_TIMER with wparam = id every
  // `milliseconds`; at most one is pending at a time, as on Windows.
  bool SetTimer(WindowId window, std::uintptr_t id, std::uint32_t milliseconds);
  bool KillTimer(WindowId window, std::uintptr_t id);

  // Handles messages until a quit; only on the owning thread (std::logic_error otherwise).
  int Run();

  // What a window does with a message its handler left: WM_CLOSE destroys it.
  void DefaultHandling(const Message& message);

 private:
  using Clock = std::chrono::steady_clock;
  using TimerKey = std::pair<WindowId, std::uintptr_t>;
  struct Timer {
    Clock::duration interval;
    Clock::time_point due;
  };

  bool Enqueue(Message message);
  // Under the lock: the next message to hand out, or false when none is ready.
  bool TakeNext(Message& next, Clock::time_point now);
  void Dispatch(const Message& message);

  const std::thread::id owner_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Message> queue_;
  std::map<WindowId, WindowHandler> windows_;
  std::map<TimerKey, Timer> timers_;
  std::atomic<bool> running_{false};
};

}  // namespace lumetra::platform
