#include "app/progress_display.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace lumetra::app {
namespace {

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& out, const std::string& style)
    : out_(out), start_(std::chrono::steady_clock::now()) {
  if (style == "json") {
    style_ = Style::Json;
  } else if (style == "none") {
    style_ = Style::None;
  } else if (style == "bar" || (style == "auto" && isatty(STDERR_FILENO))) {
    style_ = Style::Bar;
  } else {
    style_ = Style::Lines;
  }
}

std::string ProgressDisplay::Clock(double seconds) {
  const long whole = std::max(0L, static_cast<long>(seconds + 0.5));
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

std::string ProgressDisplay::JsonLine(int frame, int frames, int framePercent, double elapsed, double left,
                                      double peakMiB) {
  const auto tenths = [](double value) {
    return value < 0 ? -1.0 : static_cast<double>(static_cast<int64_t>(value * 10 + 0.5)) / 10;
  };
  return nlohmann::json{{"frame", frame},          {"frames", frames},
                        {"percent", framePercent}, {"elapsed", tenths(elapsed)},
                        {"left", tenths(left)},    {"peak_mib", tenths(peakMiB)}}
      .dump();
}

void ProgressDisplay::Update(int64_t done, int64_t total, const std::string& label, int frame, int frames) {
  if (total <= 0 || style_ == Style::None) return;
  const double fraction = std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
  const int percent = static_cast<int>(fraction * 100.0);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double secondsLeft = fraction > 0.0 ? elapsed / fraction - elapsed : -1.0;
  const std::string left = fraction > 0.0 ? Clock(secondsLeft) : "?";
  const bool relabelled = label != lastLabel_;
  lastLabel_ = label;
  if (style_ == Style::Json) {
    const double perFrame = static_cast<double>(total) / std::max(1, frames);
    const double frameDone = static_cast<double>(done) - perFrame * (frame - 1);
    const int framePercent = std::clamp(static_cast<int>(frameDone / perFrame * 100.0), 0, 100);
    if (framePercent == lastPercent_ && !relabelled) return;
    lastPercent_ = framePercent;
    out_ << JsonLine(frame, frames, framePercent, elapsed, secondsLeft, PeakMemoryMiB()) << "\n"
         << std::flush;
    return;
  }
  if (style_ == Style::Lines) {
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
