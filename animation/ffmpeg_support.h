#pragma once

// FFmpeg's objects held by unique_ptr, and its error codes as text.
#include <memory>
#include <stdexcept>
#include <string>

#include "animation/ffmpeg_library.h"

namespace lumetra::animation {

struct FfmpegDeleter {
  void operator()(AVCodecContext* context) const { Ffmpeg().avcodec_free_context(&context); }
  void operator()(AVFrame* frame) const { Ffmpeg().av_frame_free(&frame); }
  void operator()(AVPacket* packet) const { Ffmpeg().av_packet_free(&packet); }
  void operator()(SwsContext* context) const { Ffmpeg().sws_freeContext(context); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, FfmpegDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FfmpegDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, FfmpegDeleter>;
using SwsContextPtr = std::unique_ptr<SwsContext, FfmpegDeleter>;

// Options handed to an FFmpeg call that may replace them (keeping what it did not use).
class FfmpegOptions {
 public:
  FfmpegOptions() = default;
  ~FfmpegOptions() { Ffmpeg().av_dict_free(&options_); }
  FfmpegOptions(const FfmpegOptions&) = delete;
  FfmpegOptions& operator=(const FfmpegOptions&) = delete;

  AVDictionary*& Get() { return options_; }

 private:
  AVDictionary* options_ = nullptr;
};

// FFmpeg's text for an AVERROR code ("Invalid argument", "No space left on device").
std::string FfmpegErrorText(int code);

// A step that FFmpeg refused, with its reason.
class FfmpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  FfmpegError(const std::string& what, int code) : std::runtime_error(what + ": " + FfmpegErrorText(code)) {}
};

// Forwards FFmpeg's warnings and errors to the debug output instead of stderr. FFmpeg has
// one log for the whole process; this takes it over once, at the first call.
void RouteFfmpegLogToDebugLog();

}  // namespace lumetra::animation
