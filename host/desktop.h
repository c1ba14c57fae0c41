#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "abi/desktop_record.h"

namespace lumetra::host {

// The host's desktop: the render windows of the plug-in while they exist, with their
// titles, status texts and progress. Process-wide like a real desktop; the host answers
// host value 200 with its record. Safe to call from any thread.
class Desktop {
 public:
  struct Window {
    std::string title;
    int32_t width = 0, height = 0;
    std::array<std::string, 3> status;
    int32_t pixelsDone = 0, pixelsTotal = 0;
    abi::CloseWindowProc close = nullptr;
  };
  // What a viewer learns: a window opened, changed or closed (then `window` is null).
  using Listener = std::function<void(uint32_t id, const Window* window)>;

  static Desktop& Instance();

  const abi::DesktopRecord* Record() const { return &record_; }

  size_t OpenCount() const;
  // Windows opened since the desktop started.
  size_t OpenedCount() const;
  std::map<uint32_t, Window> Windows() const;
  // Called on the plug-in's threads, outside the desktop's lock.
  void SetListener(Listener listener);
  // Asks every open window to close, as the user clicking their close boxes would.
  void CloseAll() const;
  // True when no window is open by `deadline`.
  bool WaitUntilAllClosed(std::chrono::steady_clock::time_point deadline) const;

 private:
  Desktop();
  template <class Change>
  void Update(uint32_t id, Change change, bool closing = false);

  static void LUMETRA_STDCALL Opened(uint32_t window, const char* title, int32_t width, int32_t height,
                                     abi::CloseWindowProc close);
  static void LUMETRA_STDCALL Titled(uint32_t window, const char* title);
  static void LUMETRA_STDCALL Status(uint32_t window, int32_t part, const char* text);
  static void LUMETRA_STDCALL Painted(uint32_t window, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom, const uint8_t* pixels, int32_t done, int32_t total);
  static void LUMETRA_STDCALL Closed(uint32_t window);
  static uint32_t LUMETRA_STDCALL MessageBox(const char* caption, const char* text, uint32_t style);

  abi::DesktopRecord record_{};
  mutable std::mutex mutex_;
  mutable std::condition_variable closed_;
  std::map<uint32_t, Window> windows_;
  size_t opened_ = 0;
  Listener listener_;
};

}  // namespace lumetra::host
