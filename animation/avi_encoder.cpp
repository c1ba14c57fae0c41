#include "animation/avi_encoder.h"

#include <string>

#include "animation/avi_compression.h"

namespace lumetra::animation {
namespace {

int32_t RoundUp(int32_t value, int multiple) { return (value + multiple - 1) / multiple * multiple; }
}  // namespace

AviEncoder::AviEncoder(const AviCodec& codec, uint32_t tag, const render::AnimationSettings& settings,
                       int32_t width, int32_t height) {
  const AVCodec* encoder = Ffmpeg().avcodec_find_encoder_by_name(codec.encoder);
  if (encoder == nullptr) {
    throw FfmpegError(std::string("this FFmpeg has no encoder ") + codec.encoder, AVERROR_ENCODER_NOT_FOUND);
  }
  context_.reset(Ffmpeg().avcodec_alloc_context3(encoder));
  frame_.reset(Ffmpeg().av_frame_alloc());
  packet_.reset(Ffmpeg().av_packet_alloc());
  if (!context_ || !frame_ || !packet_) {
    throw FfmpegError("no memory for the encoder", AVERROR(ENOMEM));
  }
  context_->width = RoundUp(width, codec.sizeMultiple);
  context_->height = RoundUp(height, codec.sizeMultiple);
  context_->pix_fmt = codec.pixelFormat;
  context_->time_base = {settings.frameRateDenominator, settings.frameRateNumerator};
  context_->framerate = {settings.frameRateNumerator, settings.frameRateDenominator};
  context_->codec_tag = tag;
  context_->max_b_frames = 0;
  FfmpegOptions options;
  ApplyCompressorSettings(codec, settings, *context_, options.Get());
  int result = Ffmpeg().avcodec_open2(context_.get(), encoder, &options.Get());
  if (result < 0) {
    throw FfmpegError(std::string("cannot open the encoder ") + codec.encoder, result);
  }

  frame_->format = context_->pix_fmt;
  frame_->width = context_->width;
  frame_->height = context_->height;
  result = Ffmpeg().av_frame_get_buffer(frame_.get(), 0);
  if (result < 0) throw FfmpegError("no memory for a frame", result);
  converter_.emplace(width, height, *context_, codec.uncompressedDib);
}

int AviEncoder::Encode(std::span<const uint8_t> picture, int64_t position, const PacketSink& sink) {
  // The encoder may still hold the last frame's memory.
  int result = Ffmpeg().av_frame_make_writable(frame_.get());
  if (result >= 0) result = converter_->Convert(picture, *frame_);
  if (result < 0) return result;
  frame_->pts = position;
  // Encoders with a fixed quantiser (and cinepak's lambda) read it from each frame.
  frame_->quality = context_->global_quality;
  result = Ffmpeg().avcodec_send_frame(context_.get(), frame_.get());
  return result < 0 ? result : Drain(sink);
}

int AviEncoder::Flush(const PacketSink& sink) {
  const int result = Ffmpeg().avcodec_send_frame(context_.get(), nullptr);
  return result < 0 ? result : Drain(sink);
}

int AviEncoder::Drain(const PacketSink& sink) {
  for (;;) {
    int result = Ffmpeg().avcodec_receive_packet(context_.get(), packet_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return 0;
    if (result < 0) return result;
    result = sink(*packet_);
    Ffmpeg().av_packet_unref(packet_.get());
    if (result < 0) return result;
  }
}

}  // namespace lumetra::animation
