#pragma once

#include <signal.h>

#include <sstream>
#include <string>

namespace lumetra::app::testing {

// A progress stream that sends the process SIGINT, as a Ctrl-C would, once `marker` has been
// written to it. The commands write progress only from inside the run they follow, so the
// interrupt always lands while the run is going, never before the command catches it nor
// after it has finished.
class InterruptStream : public std::ostream {
 public:
  explicit InterruptStream(std::string marker) : std::ostream(&buffer_), buffer_(std::move(marker)) {}
  std::string Text() const { return buffer_.str(); }
  bool Sent() const { return buffer_.sent; }

 private:
  struct Buffer : std::stringbuf {
    explicit Buffer(std::string text) : marker(std::move(text)) {}
    // Progress lines end with a flush.
    int sync() override {
      if (!sent && str().find(marker) != std::string::npos) {
        sent = true;
        raise(SIGINT);
      }
      return std::stringbuf::sync();
    }
    std::string marker;
    bool sent = false;
  };
  Buffer buffer_;
};

}  // namespace lumetra::app::testing
