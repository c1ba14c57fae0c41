#include "animation/avi_codecs.h"

#include <array>

#include "animation/ffmpeg_support.h"
#include "platform/case_insensitive.h"
#include "platform/debug_log.h"

namespace lumetra::animation {
namespace {

using enum QualityControl;
using enum KeyFrameControl;

// Documented in docs/avi-codecs.md; keep the two together.
constexpr std::array kCodecs{
    AviCodec{"DIB ", "rawvideo", AV_PIX_FMT_BGRA, 1, None, GopSize, true},
    AviCodec{"MSVC", "msvideo1", AV_PIX_FMT_RGB555LE, 4, None, KeyIntMin, false},
    AviCodec{"CRAM", "msvideo1", AV_PIX_FMT_RGB555LE, 4, None, KeyIntMin, false},
    AviCodec{"MJPG", "mjpeg", AV_PIX_FMT_YUVJ420P, 2, QScale, GopSize, false},
    AviCodec{"cvid", "cinepak", AV_PIX_FMT_RGB24, 4, QScale, GopSize, false},
    AviCodec{"FFV1", "ffv1", AV_PIX_FMT_BGRA, 1, None, GopSize, false},
    AviCodec{"XVID", "mpeg4", AV_PIX_FMT_YUV420P, 2, QScale, GopSize, false},
    AviCodec{"DIVX", "mpeg4", AV_PIX_FMT_YUV420P, 2, QScale, GopSize, false},
    AviCodec{"FMP4", "mpeg4", AV_PIX_FMT_YUV420P, 2, QScale, GopSize, false},
    AviCodec{"DX50", "mpeg4", AV_PIX_FMT_YUV420P, 2, QScale, GopSize, false},
    AviCodec{"H264", "libx264", AV_PIX_FMT_YUV420P, 2, Crf, GopSize, false},
    AviCodec{"X264", "libx264", AV_PIX_FMT_YUV420P, 2, Crf, GopSize, false},
};

std::string LettersOf(uint32_t code) {
  std::string letters;
  for (int shift = 0; shift < 32; shift += 8) letters += static_cast<char>((code >> shift) & 0xFF);
  return letters;
}

}  // namespace

const AviCodec* FindAviCodec(uint32_t handler) {
  // No compressor at all is the uncompressed DIB, as with Video for Windows.
  const std::string letters = handler == 0 ? std::string("DIB ") : LettersOf(handler);
  for (const AviCodec& codec : kCodecs) {
    if (platform::EqualsIgnoringCase(codec.handler, letters)) return &codec;
  }
  return nullptr;
}

std::vector<AviCodecOffer> AvailableAviCodecs() {
  std::vector<AviCodecOffer> offers;
  const FfmpegLibrary* ffmpeg = nullptr;
  try {
    ffmpeg = &Ffmpeg();
  } catch (const FfmpegError& error) {
    platform::DebugLog::Printf("%s\n", error.what());
    return offers;  // without FFmpeg no compressor is on offer
  }
  for (const AviCodec& codec : kCodecs) {
    const ::AVCodec* encoder = ffmpeg->avcodec_find_encoder_by_name(codec.encoder);
    if (encoder == nullptr) continue;
    const bool lossless = codec.quality == QualityControl::None;
    offers.push_back({&codec, encoder->long_name ? encoder->long_name : codec.encoder,
                      lossless ? 10000 : 8500, codec.uncompressedDib ? 1 : 15,
                      codec.uncompressedDib ? 0 : 300000});
  }
  return offers;
}

uint32_t FileTag(const AviCodec& codec, uint32_t handler) { return codec.uncompressedDib ? 0 : handler; }

std::string FourCCText(uint32_t code) {
  std::string text;
  for (const char letter : LettersOf(code)) {
    const auto byte = static_cast<unsigned char>(letter);
    text += byte >= 0x20 && byte < 0x7F ? std::string(1, letter) : "[" + std::to_string(byte) + "]";
  }
  return text;
}

}  // namespace lumetra::animation
