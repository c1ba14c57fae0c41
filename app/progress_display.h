#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace lumetra::app {

// Shows how far a render is: on a terminal a bar with the time spent and the time
// left, rewritten in place; elsewhere a plain line at every tenth.
class ProgressDisplay {
 public:
  ProgressDisplay(std::ostream& out, bool terminal);

  // `label` says what is being done ("rendering", "frame 3 of 16 at 0:02"); lines are
  // written again whenever it changes.
  void Update(int64_t done, int64_t total, const std::string& label = "rendering");
  // Ends the bar's line; lines already ended stay.
  void Finish();

  // "m:ss" of a number of seconds.
  static std::string Clock(double seconds);

 private:
  std::ostream& out_;
  bool terminal_;
  std::chrono::steady_clock::time_point start_;
  int lastTenth_ = -1;
  int lastPercent_ = -1;
  bool barShown_ = false;
  std::string lastLabel_;
};

}  // namespace lumetra::app
