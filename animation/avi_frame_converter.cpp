#include "animation/avi_frame_converter.h"

#include <algorithm>
#include <cstring>

#include "animation/ffmpeg_library.h"

namespace lumetra::animation {
namespace {

constexpr int kBytesPerPixel = 4;

}  // namespace

FrameConverter::FrameConverter(int32_t width, int32_t height, const AVCodecContext& encoder,
                               bool bottomRowFirst)
    : width_(width),
      height_(height),
      frameWidth_(encoder.width),
      frameHeight_(encoder.height),
      bottomRowFirst_(bottomRowFirst) {
  if (frameWidth_ != width_ || frameHeight_ != height_) {
    padded_.resize(static_cast<size_t>(frameWidth_) * static_cast<size_t>(frameHeight_) * kBytesPerPixel);
  }
  // Same size in and out, so the filter only matters where chroma is subsampled. To
  // another RGB format point sampling takes swscale's direct conversion; any other
  // filter goes through YUV with dithering, which loses colour and adds noise.
  const AVPixFmtDescriptor* format = Ffmpeg().av_pix_fmt_desc_get(encoder.pix_fmt);
  const int filter =
      format != nullptr && (format->flags & AV_PIX_FMT_FLAG_RGB) != 0 ? SWS_POINT : SWS_BICUBIC;
  scaler_.reset(Ffmpeg().sws_getContext(frameWidth_, frameHeight_, AV_PIX_FMT_BGRA, frameWidth_, frameHeight_,
                                        encoder.pix_fmt, filter | SWS_ACCURATE_RND, nullptr, nullptr,
                                        nullptr));
  if (!scaler_) {
    throw FfmpegError("no conversion from BGRA to the encoder's pixel format", AVERROR(EINVAL));
  }
}

FrameConverter::Rows FrameConverter::InFrameOrder(std::span<const uint8_t> picture) const {
  const int rowBytes = width_ * kBytesPerPixel;
  if (bottomRowFirst_) return {picture.data(), rowBytes};
  return {picture.data() + static_cast<size_t>(height_ - 1) * static_cast<size_t>(rowBytes), -rowBytes};
}

FrameConverter::Rows FrameConverter::Padded(Rows rows) {
  const size_t rowBytes = static_cast<size_t>(width_) * kBytesPerPixel;
  const size_t frameRowBytes = static_cast<size_t>(frameWidth_) * kBytesPerPixel;
  for (int32_t y = 0; y < frameHeight_; ++y) {
    const uint8_t* source = rows.first + static_cast<ptrdiff_t>(std::min(y, height_ - 1)) * rows.stride;
    uint8_t* target = padded_.data() + static_cast<size_t>(y) * frameRowBytes;
    std::memcpy(target, source, rowBytes);
    for (size_t x = rowBytes; x < frameRowBytes; x += kBytesPerPixel) {
      std::memcpy(target + x, source + rowBytes - kBytesPerPixel, kBytesPerPixel);
    }
  }
  return {padded_.data(), static_cast<int>(frameRowBytes)};
}

int FrameConverter::Convert(std::span<const uint8_t> picture, AVFrame& frame) {
  if (picture.size() != static_cast<size_t>(width_) * static_cast<size_t>(height_) * kBytesPerPixel) {
    return AVERROR(EINVAL);
  }
  Rows rows = InFrameOrder(picture);
  if (!padded_.empty()) rows = Padded(rows);
  const int result = Ffmpeg().sws_scale(scaler_.get(), &rows.first, &rows.stride, 0, frameHeight_, frame.data,
                                        frame.linesize);
  return result < 0 ? result : 0;
}

}  // namespace lumetra::animation
