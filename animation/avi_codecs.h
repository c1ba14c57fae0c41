#pragma once

// The compressors an AVI file can name and the FFmpeg encoders that stand in for them.
#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace lumetra::animation {

// How the quality setting (1..10000) reaches an encoder.
enum class QualityControl {
  None,    // lossless, or the encoder keeps a fixed threshold: the setting does nothing
  QScale,  // FFmpeg's quantiser scale, 31 (quality 1) to 1 (quality 10000)
  Crf,     // x264's constant rate factor, 51 (quality 1) to 0 (quality 10000)
};

// How "a key frame every n frames" reaches an encoder.
enum class KeyFrameControl {
  GopSize,    // the group of pictures is n frames
  KeyIntMin,  // msvideo1 makes a key frame after keyint_min + 1 frames
};

struct AviCodec {
  const char* handler;        // the four-character code, as the settings spell it
  const char* encoder;        // FFmpeg's encoder
  AVPixelFormat pixelFormat;  // what the encoder takes
  int sizeMultiple;           // width and height must be multiples of it
  QualityControl quality;
  KeyFrameControl keyFrames;
  // The frames are the image buffer's rows as stored, bottom row first, and the stream
  // is tagged 0: an uncompressed DIB (BI_RGB), which players show bottom-up.
  bool uncompressedDib;
};

// The entry for a compressor handler (letter case ignored; 0 is the uncompressed DIB),
// or nullptr for a code the table does not know.
const AviCodec* FindAviCodec(uint32_t handler);

// What the compressor chooser shows for a codec: FFmpeg's description of its encoder and
// the settings it starts with (lossless ones at full quality, the uncompressed DIB with
// every frame a key frame and no data rate).
struct AviCodecOffer {
  const AviCodec* codec;
  std::string description;
  int32_t quality;
  int32_t keyFrameEvery;
  int32_t dataRate;
};

// The table's codecs whose encoder this machine's FFmpeg has, in the table's order.
std::vector<AviCodecOffer> AvailableAviCodecs();

// The tag the file's stream carries: the handler as asked, 0 for an uncompressed DIB.
uint32_t FileTag(const AviCodec& codec, uint32_t handler);

// The code as text for messages: "MSVC", with bytes that are not printable as "[N]".
std::string FourCCText(uint32_t code);

}  // namespace lumetra::animation
