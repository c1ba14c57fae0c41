#pragma once

// The image buffer's pictures as frames an encoder takes.
#include <cstdint>
#include <span>
#include <vector>

#include "animation/ffmpeg_support.h"

namespace lumetra::animation {

// Converts pictures of one size, laid out as the image buffer keeps them (blue, green,
// red, alpha; rows bottom-up, no padding), into the encoder's pixel format and frame
// size. Frames go top row first, or bottom row first for an encoder that stores the rows
// as they are (the uncompressed DIB). An encoder frame larger than the picture (a codec
// that needs sizes in multiples of 2 or 4) repeats the last column and row.
class FrameConverter {
 public:
  // Throws FfmpegError when the conversion cannot be set up.
  FrameConverter(int32_t width, int32_t height, const AVCodecContext& encoder, bool bottomRowFirst);

  // Fills `frame` (allocated to the encoder's format and size) from `picture`, which
  // must hold width x height x 4 bytes. Returns 0 or FFmpeg's error code.
  int Convert(std::span<const uint8_t> picture, AVFrame& frame);

 private:
  struct Rows {
    const uint8_t* first;
    int stride;  // negative when the rows run backwards in memory
  };
  Rows InFrameOrder(std::span<const uint8_t> picture) const;
  Rows Padded(Rows rows);

  int32_t width_;
  int32_t height_;
  int32_t frameWidth_;
  int32_t frameHeight_;
  bool bottomRowFirst_;
  std::vector<uint8_t> padded_;
  SwsContextPtr scaler_;
};

}  // namespace lumetra::animation
