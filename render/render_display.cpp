#include "render/render_display.h"

#include <algorithm>
#include <map>

#include "abi/desktop_record.h"
#include "abi/pov_blocks.h"
#include "platform/byte_reader.h"
#include "platform/debug_log.h"
#include "render/render_job.h"

namespace lumetra::render {
namespace {

// The open render windows of the process, so that the host can close one by its id.
std::mutex g_openMutex;
std::map<platform::WindowId, RenderDisplay*> g_open;

// Window decorations of the render window, for its size limits.
constexpr int32_t kSizingFrame = 4;
constexpr int32_t kCaption = 20;
constexpr int32_t kStatusBar = 20;
constexpr int32_t kScreenWidth = 4096;
constexpr int32_t kScreenHeight = 4096;

}  // namespace

bool RenderDisplay::Open(RenderJob& job, platform::MessageLoop& loop, uint8_t* sharedPixels) {
  job.image.TakeChanged();
  job.maxWindowWidth = std::min(job.width + 2 * kSizingFrame, kScreenWidth);
  job.maxWindowHeight = std::min(job.height + 2 * kSizingFrame + kCaption + kStatusBar, kScreenHeight);
  const platform::WindowId window =
      loop.CreateWindow([this, &job](platform::MessageLoop&, const platform::Message& message) {
        return Handle(job, message);
      });
  if (window == platform::kNoWindow) {
    platform::DebugLog::Write("Failed to create render window\n");
    platform::DebugLog::Write("no display\n");
    return false;
  }
  job.image =
      sharedPixels ? ImageBuffer(job.width, job.height, sharedPixels) : ImageBuffer(job.width, job.height);
  if (!job.image.Valid()) {
    loop.DestroyWindow(window);
    platform::DebugLog::Write("no display 2\n");
    return false;
  }
  const std::string title = abi::kRenderTitlePrefix + job.outputPath;
  {
    std::lock_guard lock(mutex_);
    loop_ = &loop;
    window_ = window;
    title_ = title;
    desktop_ = job.desktop;
  }
  {
    std::lock_guard lock(g_openMutex);
    g_open[window] = this;
  }
  if (desktop_ && desktop_->windowOpened) {
    desktop_->windowOpened(window, title.c_str(), job.width, job.height, CloseWindow);
  }
  if (job.windowMaker) {
    std::shared_ptr<RenderWindowView> view = job.windowMaker->MakeRenderWindow(
        job.parentWindow, title, job.width, job.height, [window] { CloseWindow(window); });
    std::lock_guard lock(mutex_);
    view_ = std::move(view);
  }
  return true;
}

void RenderDisplay::Show() {
  if (const auto view = View()) view->Show();
}

std::shared_ptr<RenderWindowView> RenderDisplay::View() const {
  std::lock_guard lock(mutex_);
  return view_;
}

void RenderDisplay::Close() {
  platform::WindowId closed = platform::kNoWindow;
  {
    std::lock_guard openLock(g_openMutex);
    g_open.erase(Window());
  }
  {
    std::lock_guard lock(mutex_);
    if (loop_ && window_ != platform::kNoWindow) loop_->DestroyWindow(window_);
    closed = window_;
    loop_ = nullptr;
    window_ = platform::kNoWindow;
    view_.reset();
  }
  if (closed != platform::kNoWindow && desktop_ && desktop_->windowClosed) {
    desktop_->windowClosed(closed);
  }
}

void RenderDisplay::CloseWindow(uint32_t window) {
  std::lock_guard lock(g_openMutex);
  const auto found = g_open.find(window);
  if (found != g_open.end()) found->second->PostClose();
}

bool RenderDisplay::Ready() const {
  std::lock_guard lock(mutex_);
  return window_ != platform::kNoWindow;
}

platform::WindowId RenderDisplay::Window() const {
  std::lock_guard lock(mutex_);
  return window_;
}

bool RenderDisplay::StartRepaintTimer() {
  std::lock_guard lock(mutex_);
  return loop_ && loop_->SetTimer(window_, kRepaintTimer, kRepaintMilliseconds);
}

bool RenderDisplay::PostQuit() {
  std::lock_guard lock(mutex_);
  if (!loop_) return false;
  loop_->PostQuit();
  return true;
}

bool RenderDisplay::PostClose() {
  std::lock_guard lock(mutex_);
  return loop_ && loop_->Post(window_, platform::WM_CLOSE);
}

void RenderDisplay::SetTitle(std::string title) {
  platform::WindowId window = platform::kNoWindow;
  {
    std::lock_guard lock(mutex_);
    title_ = title;
    window = window_;
  }
  if (window != platform::kNoWindow && desktop_ && desktop_->windowTitle) {
    desktop_->windowTitle(window, title.c_str());
  }
  if (const auto view = View()) view->SetTitle(title);
}

std::string RenderDisplay::Title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

void RenderDisplay::SetStatus(size_t part, std::string text) {
  platform::WindowId window = platform::kNoWindow;
  {
    std::lock_guard lock(mutex_);
    status_.at(part) = text;
    window = window_;
  }
  if (window != platform::kNoWindow && desktop_ && desktop_->windowStatus) {
    desktop_->windowStatus(window, static_cast<int32_t>(part), text.c_str());
  }
  if (const auto view = View()) view->SetStatus(static_cast<int32_t>(part), text);
}

std::string RenderDisplay::Status(size_t part) const {
  std::lock_guard lock(mutex_);
  return status_.at(part);
}

void RenderDisplay::SetRepaintHandler(std::function<void(const PixelRect&)> handler) {
  std::lock_guard lock(mutex_);
  repaint_ = std::move(handler);
}

void RenderDisplay::Flush(RenderJob& job) {
  const PixelRect changed = job.image.TakeChanged();
  if (changed.Empty()) return;
  if (job.preview.on && job.preview.rect) {
    job.preview.rect(job.preview.view, changed.left, changed.top, changed.right, changed.bottom);
  }
  std::function<void(const PixelRect&)> repaint;
  platform::WindowId window = platform::kNoWindow;
  {
    std::lock_guard lock(mutex_);
    repaint = repaint_;
    window = window_;
  }
  if (repaint) repaint(changed);
  if (const auto view = View()) view->Paint(changed, job.image.Bytes().data(), job.width, job.height);
  if (desktop_ && desktop_->windowPainted) {
    desktop_->windowPainted(window, changed.left, changed.top, changed.right, changed.bottom,
                            job.image.Bytes().data(), job.pixelsDone.load(), job.width * job.height);
  }
}

bool RenderDisplay::Handle(RenderJob& job, const platform::Message& message) {
  switch (message.message) {
    case platform::WM_TIMER:
      if (message.wparam == kRepaintTimer && Ready()) Flush(job);
      return true;
    case platform::WM_CLOSE:
      // Closing the window stops the job; the thread's end tidies up.
      job.abort = 1;
      job.terminate = 1;
      PostQuit();
      return true;
    case platform::WM_COPYDATA: {
      const auto& bytes = message.copyData;
      const uint32_t code =
          bytes.size() < 4 ? 0 : platform::LoadU32(bytes.data(), platform::ByteOrder::kLittle);
      if (code == abi::pov::kRenderEnded) {
        job.SetState(JobState::Complete);
      } else if (code == abi::pov::kRenderFailed) {
        job.abort = 1;
        int32_t notYet = 0;
        job.terminate.compare_exchange_strong(notYet, 1);
        // The bridge says why after the code.
        if (bytes.size() > 4) {
          platform::DebugLog::Printf("POV-Ray render failed: %s\n",
                                     std::string(bytes.begin() + 4, bytes.end()).c_str());
        }
      }
      return false;  // the default handling follows in every case
    }
    default:
      return false;
  }
}

}  // namespace lumetra::render
