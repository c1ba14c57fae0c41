#pragma once

#include <signal.h>

#include <functional>
#include <sstream>
#include <string>

namespace lumetra::app::testing {

// A progress stream that sends the process SIGINT, as a Ctrl-C would (or another signal,
// SIGTERM as a batch system stops a task), once `marker` has been written to it. The commands write progress
// only from inside the run they follow, so the interrupt always lands while the run is going, never before
// the command catches it nor after it has finished.
class InterruptStream : public std::ostream {
 public:
  explicit InterruptStream(std::string marker, int signal = SIGINT)
      : InterruptStream(std::move(marker), [signal] { raise(signal); }) {}
  // Does `action` instead: a test looks at what the run has made so far.
  InterruptStream(std::string marker, std::function<void()> action)
      : std::ostream(&buffer_), buffer_(std::move(marker), std::move(action)) {}
  std::string Text() const { return buffer_.str(); }
  bool Sent() const { return buffer_.sent; }

 private:
  struct Buffer : std::stringbuf {
    Buffer(std::string text, std::function<void()> then) : marker(std::move(text)), action(std::move(then)) {}
    // Progress lines end with a flush.
    int sync() override {
      if (!sent && str().find(marker) != std::string::npos) {
        sent = true;
        action();
      }
      return std::stringbuf::sync();
    }
    std::string marker;
    std::function<void()> action;
    bool sent = false;
  };
  Buffer buffer_;
};

}  // namespace lumetra::app::testing
