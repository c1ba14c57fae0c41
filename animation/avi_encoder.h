#pragma once

// The encoder of an AVI file's video stream.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "animation/avi_codecs.h"
#include "animation/avi_frame_converter.h"
#include "animation/ffmpeg_support.h"
#include "render/animation_settings.h"

namespace lumetra::animation {

// Takes pictures as the image buffer keeps them, each at its frame position, and hands
// out the compressed packets timed in frames (time base denominator / numerator of the
// frame rate). No B-frames: AVI keeps every frame's chunk at its own position.
class AviEncoder {
 public:
  // Returns 0 or FFmpeg's error code.
  using PacketSink = std::function<int(AVPacket&)>;

  // Throws FfmpegError when FFmpeg lacks the codec's encoder or cannot open it for
  // pictures of this size and these settings.
  AviEncoder(const AviCodec& codec, uint32_t tag, const render::AnimationSettings& settings, int32_t width,
             int32_t height);

  const AVCodecContext& Context() const { return *context_; }

  // Encodes `picture` (width x height x 4 bytes) as frame `position`; the packets that
  // are done go to `sink`. Returns 0 or the first error code.
  int Encode(std::span<const uint8_t> picture, int64_t position, const PacketSink& sink);
  // Ends the stream: the packets the encoder still holds go to `sink`.
  int Flush(const PacketSink& sink);

 private:
  int Drain(const PacketSink& sink);

  CodecContextPtr context_;
  FramePtr frame_;
  PacketPtr packet_;
  std::optional<FrameConverter> converter_;
};

}  // namespace lumetra::animation
