#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace lumetra::app {

// Shows how far a render is: on a terminal a bar with the time spent and the time
// left, rewritten in place; elsewhere a plain line at every tenth; for programs that
// follow a run (a render farm's status), one JSON object a line.
class ProgressDisplay {
 public:
  // `style` as --progress gives it: auto (a bar on a terminal, else lines), bar, lines,
  // json or none.
  ProgressDisplay(std::ostream& out, const std::string& style);

  // `label` says what is being done ("rendering", "frame 3 of 16 at 0:02"); lines are
  // written again whenever it changes. `frame` of `frames` (from 1) is the one in hand,
  // each frame being an equal share of `total`.
  void Update(int64_t done, int64_t total, const std::string& label = "rendering", int frame = 1,
              int frames = 1);
  // Ends the bar's line; lines already ended stay.
  void Finish();

  // "m:ss" of a number of seconds.
  static std::string Clock(double seconds);
  // The JSON line of one update: the frame, the percent done of it, seconds spent and
  // left (-1 while unknown) and the process's peak memory in MiB.
  static std::string JsonLine(int frame, int frames, int framePercent, double elapsed, double left,
                              double peakMiB);

 private:
  enum class Style { Bar, Lines, Json, None };

  std::ostream& out_;
  Style style_;
  std::chrono::steady_clock::time_point start_;
  int lastTenth_ = -1;
  int lastPercent_ = -1;
  bool barShown_ = false;
  std::string lastLabel_;
};

}  // namespace lumetra::app
