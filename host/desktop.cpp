#include "host/desktop.h"

#include "platform/messages.h"

namespace lumetra::host {

Desktop& Desktop::Instance() {
  static Desktop desktop;
  return desktop;
}

Desktop::Desktop() {
  record_.size = sizeof record_;
  record_.version = abi::kDesktopRecordVersion;
  record_.windowOpened = Opened;
  record_.windowTitle = Titled;
  record_.windowStatus = Status;
  record_.windowPainted = Painted;
  record_.windowClosed = Closed;
  record_.messageBox = MessageBox;
}

namespace {

platform::MessageButtons ButtonsOf(uint32_t style) {
  switch (style & 0xF) {
    case abi::kBoxOkCancel:
      return platform::MessageButtons::OkCancel;
    case abi::kBoxYesNo:
      return platform::MessageButtons::YesNo;
    case abi::kBoxYesNoCancel:
      return platform::MessageButtons::YesNoCancel;
    default:
      return platform::MessageButtons::Ok;
  }
}

platform::MessageIcon IconOf(uint32_t style) {
  switch (style & 0xF0) {
    case abi::kBoxIconStop:
      return platform::MessageIcon::Stop;
    case abi::kBoxIconQuestion:
      return platform::MessageIcon::Question;
    case abi::kBoxIconExclamation:
      return platform::MessageIcon::Exclamation;
    case abi::kBoxIconInformation:
      return platform::MessageIcon::Information;
    default:
      return platform::MessageIcon::None;
  }
}

uint32_t Answered(platform::MessageAnswer answer) {
  switch (answer) {
    case platform::MessageAnswer::Cancel:
      return abi::kAnsweredCancel;
    case platform::MessageAnswer::Yes:
      return abi::kAnsweredYes;
    case platform::MessageAnswer::No:
      return abi::kAnsweredNo;
    default:
      return abi::kAnsweredOk;
  }
}

}  // namespace

// The plug-in's boxes are the host's: answered as the host's own are (by its window, its
// command line's policy, or a test's script).
uint32_t LUMETRA_STDCALL Desktop::MessageBox(const char* caption, const char* text, uint32_t style) {
  return Answered(
      platform::Messages::Show(caption ? caption : "", text ? text : "", ButtonsOf(style), IconOf(style)));
}

template <class Change>
void Desktop::Update(uint32_t id, Change change, bool closing) {
  Listener listener;
  Window copy;
  {
    std::lock_guard lock(mutex_);
    change(windows_[id]);
    copy = windows_[id];
    if (closing) windows_.erase(id);
    listener = listener_;
  }
  if (closing) closed_.notify_all();
  if (listener) listener(id, closing ? nullptr : &copy);
}

size_t Desktop::OpenCount() const {
  std::lock_guard lock(mutex_);
  return windows_.size();
}

size_t Desktop::OpenedCount() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

std::map<uint32_t, Desktop::Window> Desktop::Windows() const {
  std::lock_guard lock(mutex_);
  return windows_;
}

void Desktop::SetListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void Desktop::CloseAll() const {
  // Closing may call back into the desktop from the window's thread: no lock held here.
  for (const auto& [id, window] : Windows()) {
    if (window.close) window.close(id);
  }
}

bool Desktop::WaitUntilAllClosed(std::chrono::steady_clock::time_point deadline) const {
  std::unique_lock lock(mutex_);
  return closed_.wait_until(lock, deadline, [this] { return windows_.empty(); });
}

void Desktop::Opened(uint32_t window, const char* title, int32_t width, int32_t height,
                     abi::CloseWindowProc close) {
  Desktop& desktop = Instance();
  {
    std::lock_guard lock(desktop.mutex_);
    ++desktop.opened_;
  }
  desktop.Update(window, [&](Window& w) {
    w = Window{};
    w.title = title ? title : "";
    w.width = width;
    w.height = height;
    w.pixelsTotal = width * height;
    w.close = close;
  });
}

void Desktop::Titled(uint32_t window, const char* title) {
  Instance().Update(window, [&](Window& w) { w.title = title ? title : ""; });
}

void Desktop::Status(uint32_t window, int32_t part, const char* text) {
  if (part < 0 || part >= 3) return;
  Instance().Update(window, [&](Window& w) { w.status[static_cast<size_t>(part)] = text ? text : ""; });
}

void Desktop::Painted(uint32_t window, int32_t, int32_t, int32_t, int32_t, const uint8_t*, int32_t done,
                      int32_t total) {
  Instance().Update(window, [&](Window& w) {
    w.pixelsDone = done;
    w.pixelsTotal = total;
  });
}

void Desktop::Closed(uint32_t window) {
  Instance().Update(
      window, [](Window&) {}, true);
}

}  // namespace lumetra::host
