#include "app/progress_display.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

namespace lumetra::app {

ProgressDisplay::ProgressDisplay(std::ostream& out, bool terminal)
    : out_(out), terminal_(terminal), start_(std::chrono::steady_clock::now()) {}

std::string ProgressDisplay::Clock(double seconds) {
  const long whole = std::max(0L, static_cast<long>(seconds + 0.5));
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

void ProgressDisplay::Update(int64_t done, int64_t total, const std::string& label) {
  if (total <= 0) return;
  const double fraction = std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
  const int percent = static_cast<int>(fraction * 100.0);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string left = fraction > 0.0 ? Clock(elapsed / fraction - elapsed) : "?";
  const bool relabelled = label != lastLabel_;
  lastLabel_ = label;
  if (!terminal_) {
    const int tenth = percent / 10;
    if (tenth == lastTenth_ && !relabelled) return;
    lastTenth_ = tenth;
    out_ << label << ": " << percent << "% after " << Clock(elapsed) << ", " << left << " left\n"
         << std::flush;
    return;
  }
  if (percent == lastPercent_ && !relabelled) return;
  lastPercent_ = percent;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(fraction * kWidth);
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  char percentText[8];
  std::snprintf(percentText, sizeof percentText, "%3d%%", percent);
  out_ << "\r" << label << " [" << bar << "] " << percentText << "  " << Clock(elapsed) << " spent, " << left
       << " left " << std::flush;
  barShown_ = true;
}

void ProgressDisplay::Finish() {
  if (barShown_) out_ << "\n" << std::flush;
  barShown_ = false;
}

}  // namespace lumetra::app
