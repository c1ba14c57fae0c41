#include "animation/ffmpeg_support.h"

#include <cstdarg>
#include <mutex>

#include "platform/debug_log.h"

namespace lumetra::animation {
namespace {

void ForwardToDebugLog(void* object, int level, const char* format, va_list arguments) {
  if (level > AV_LOG_WARNING) return;
  char line[1024];
  int printPrefix = 1;
  Ffmpeg().av_log_format_line2(object, level, format, arguments, line, sizeof line, &printPrefix);
  platform::DebugLog::Write(line);
}

}  // namespace

std::string FfmpegErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  Ffmpeg().av_strerror(code, text, sizeof text);
  return text;
}

void RouteFfmpegLogToDebugLog() {
  static std::once_flag routed;
  std::call_once(routed, [] { Ffmpeg().av_log_set_callback(ForwardToDebugLog); });
}

}  // namespace lumetra::animation
