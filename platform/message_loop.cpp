#include "platform/message_loop.h"

#include <stdexcept>

#include "platform/window_directory.h"

namespace lumetra::platform {

MessageLoop::MessageLoop() : owner_(std::this_thread::get_id()) {}

MessageLoop::~MessageLoop() {
  // Not under our lock: the directory delivers under its own lock and then takes ours.
  std::vector<WindowId> windows;
  {
    std::lock_guard lock(mutex_);
    for (const auto& window : windows_) windows.push_back(window.first);
  }
  for (const WindowId window : windows) window_directory::Unregister(window);
}

WindowId MessageLoop::CreateWindow(WindowHandler handler) {
  // Ids are unique on the machine, so a stale id never reaches another window.
  const WindowId window = window_directory::AllocateId();
  {
    std::lock_guard lock(mutex_);
    windows_.emplace(window, std::move(handler));
  }
  window_directory::Register(window, *this);
  return window;
}

void MessageLoop::DestroyWindow(WindowId window) {
  window_directory::Unregister(window);
  std::lock_guard lock(mutex_);
  windows_.erase(window);
  std::erase_if(timers_, [window](const auto& timer) { return timer.first.first == window; });
}

bool MessageLoop::IsWindow(WindowId window) const {
  std::lock_guard lock(mutex_);
  return windows_.contains(window);
}

bool MessageLoop::Enqueue(Message message) {
  {
    std::lock_guard lock(mutex_);
    if (message.message != WM_QUIT && !windows_.contains(message.window)) return false;
    queue_.push_back(std::move(message));
  }
  wake_.notify_one();
  return true;
}

bool MessageLoop::Post(WindowId window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  return Enqueue({window, message, wparam, lparam, 0, {}});
}

bool MessageLoop::PostCopyData(WindowId window, WindowId sender, std::uintptr_t kind,
                               std::span<const std::uint8_t> bytes) {
  return Enqueue({window, WM_COPYDATA, sender, 0, kind, {bytes.begin(), bytes.end()}});
}

void MessageLoop::PostQuit(int exitCode) {
  Enqueue({kNoWindow, WM_QUIT, static_cast<std::uintptr_t>(exitCode), 0, 0, {}});
}

bool MessageLoop::SetTimer(WindowId window, std::uintptr_t id, std::uint32_t milliseconds) {
  const Clock::duration interval = std::chrono::milliseconds(milliseconds);
  {
    std::lock_guard lock(mutex_);
    if (!windows_.contains(window)) return false;
    timers_[{window, id}] = Timer{interval, Clock::now() + interval};
  }
  wake_.notify_one();
  return true;
}

bool MessageLoop::KillTimer(WindowId window, std::uintptr_t id) {
  std::lock_guard lock(mutex_);
  return timers_.erase({window, id}) > 0;
}

bool MessageLoop::TakeNext(Message& next, Clock::time_point now) {
  if (!queue_.empty()) {
    next = std::move(queue_.front());
    queue_.pop_front();
    return true;
  }
  for (auto& [key, timer] : timers_) {
    if (timer.due <= now) {
      // Rescheduled from now: a late loop gets one tick, not a burst.
      timer.due = now + timer.interval;
      next = Message{key.first, WM_TIMER, key.second, 0, 0, {}};
      return true;
    }
  }
  return false;
}

int MessageLoop::Run() {
  if (std::this_thread::get_id() != owner_ || running_.exchange(true)) {
    throw std::logic_error("a message loop runs once at a time, on the thread that made it");
  }
  // Also when a handler throws, so that the loop can be run again.
  const struct Stopped {
    std::atomic<bool>& running;
    ~Stopped() { running = false; }
  } stopped{running_};
  std::unique_lock lock(mutex_);
  for (;;) {
    Message next;
    if (TakeNext(next, Clock::now())) {
      if (next.message == WM_QUIT) return static_cast<int>(next.wparam);
      lock.unlock();
      Dispatch(next);
      lock.lock();
      continue;
    }
    if (timers_.empty()) {
      wake_.wait(lock);
      continue;
    }
    Clock::time_point earliest = Clock::time_point::max();
    for (const auto& entry : timers_) earliest = std::min(earliest, entry.second.due);
    wake_.wait_until(lock, earliest);
  }
}

void MessageLoop::Dispatch(const Message& message) {
  WindowHandler handler;
  {
    std::lock_guard lock(mutex_);
    const auto window = windows_.find(message.window);
    if (window == windows_.end()) return;
    handler = window->second;  // a copy: the handler may destroy its own window
  }
  if (!handler || !handler(*this, message)) DefaultHandling(message);
}

void MessageLoop::DefaultHandling(const Message& message) {
  if (message.message == WM_CLOSE) DestroyWindow(message.window);
}

}  // namespace lumetra::platform
