#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "abi/desktop_record.h"
#include "platform/message_loop.h"
#include "render/image_buffer.h"
#include "render/render_window_view.h"

namespace lumetra::render {

struct RenderJob;

// A job's render window: a window on the window thread's message loop with the job's
// image buffer, a title and a three-part status bar. The host's desktop (when the job
// has one) learns of the window's life, its texts and repaints, and so does the job's
// real window in a toolkit when it has a window maker; a view inside the plug-in can
// follow it through the repaint handler.
class RenderDisplay {
 public:
  static constexpr uintptr_t kRepaintTimer = 1;
  static constexpr uint32_t kRepaintMilliseconds = 50;

  // Makes the window on `loop` and the job's image buffer (in `sharedPixels` when given,
  // else in memory of its own). Fails without a window or a buffer.
  bool Open(RenderJob& job, platform::MessageLoop& loop, uint8_t* sharedPixels = nullptr);
  // Hands what changed since the last repaint to the preview, the view and the desktop.
  void Flush(RenderJob& job);
  // Destroys the window; the image buffer stays with the job for the writers.
  void Close();

  bool Ready() const;
  platform::WindowId Window() const;
  // Shows the toolkit's window, when the job has one; a display without stays unseen.
  void Show();
  // Starts the 50 ms repaint timer.
  bool StartRepaintTimer();
  // Ends the window thread's loop, as a quit posted to the window does. False without a window.
  bool PostQuit();
  // Asks the window to close, as its close box does.
  bool PostClose();
  // Closes the render window `window` of this process, if it still exists.
  static void LUMETRA_STDCALL CloseWindow(uint32_t window);

  void SetTitle(std::string title);
  std::string Title() const;
  void SetStatus(size_t part, std::string text);
  std::string Status(size_t part) const;
  // Called on the window thread with each changed rectangle the timer takes.
  void SetRepaintHandler(std::function<void(const PixelRect&)> handler);

 private:
  bool Handle(RenderJob& job, const platform::Message& message);
  std::shared_ptr<RenderWindowView> View() const;

  mutable std::mutex mutex_;
  platform::MessageLoop* loop_ = nullptr;
  platform::WindowId window_ = platform::kNoWindow;
  std::string title_;
  std::array<std::string, 3> status_;
  std::function<void(const PixelRect&)> repaint_;
  std::shared_ptr<RenderWindowView> view_;
  const abi::DesktopRecord* desktop_ = nullptr;
};

}  // namespace lumetra::render
