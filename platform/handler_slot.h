#pragma once

#include <mutex>
#include <utility>

namespace lumetra::platform {

// The process-wide, replaceable handler behind a stand-in for a Windows dialog: empty
// means headless; a GUI or a test installs its own.
template <class Handler>
class HandlerSlot {
 public:
  Handler Get() const {
    std::lock_guard lock(mutex_);
    return handler_;
  }

  // Returns the handler that was installed before.
  Handler Replace(Handler handler) {
    std::lock_guard lock(mutex_);
    std::swap(handler_, handler);
    return handler;
  }

 private:
  mutable std::mutex mutex_;
  Handler handler_;
};

}  // namespace lumetra::platform
