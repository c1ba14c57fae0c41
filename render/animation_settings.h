#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "abi/animation_run_record.h"
#include "keyframe/time_format.h"
#include "platform/registry.h"

namespace lumetra::render {

// Where the frames of an animation go.
enum class FileOutput : int32_t {
  Avi = abi::kOutputAvi,
  Bmp = abi::kOutputBmp,
  Dib = abi::kOutputDib,
  Png = abi::kOutputPng,
  Ppm = abi::kOutputPpm,
  Tga = abi::kOutputTga,
  TgaRle = abi::kOutputTgaRle,
  Tif = abi::kOutputTif,
};

inline constexpr const char* kFileOutputNames[] = {"AVI", "BMP", "DIB",       "PNG",
                                                   "PPM", "TGA", "TGA (RLE)", "TIF"};

// A four-character code as the registry and AVI files store it: first letter lowest.
constexpr uint32_t FourCC(const char (&code)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// The animation output settings: they travel with the scene's keyframe data; the
// registry keeps the defaults a scene without keyframe data takes.
struct AnimationSettings {
  int32_t fileOutput = static_cast<int32_t>(FileOutput::Avi);
  int32_t timeDisplay = 0;      // 0 "Frames", 1 "SMPTE", 2 "Frame:Ticks", 3 "MM:SS:Ticks"
  int32_t frameRateChoice = 1;  // 0 "10 FPS" ... 7 "Custom"
  float customFrameRate = 15.0f;
  uint32_t compressor = FourCC("MSVC");
  int32_t quality = 8500;
  int32_t keyFrameEvery = 15;
  int32_t dataRate = 300000;
  int32_t frameRateNumerator = 15;
  int32_t frameRateDenominator = 1;
  std::string outputBaseName;  // not stored in the registry
  bool renderFields = false;
  bool upperFieldFirst = true;
  // Leaves out a frame on the end time, so a looping movie does not show its first
  // picture twice; chosen for one animation, stored nowhere.
  bool dropLastFrame = false;

  keyframe::TimeFormat TimeFormat() const {
    return {static_cast<keyframe::TimeDisplay>(timeDisplay), frameRateChoice, frameRateNumerator,
            frameRateDenominator};
  }

  // The registry values are taken as read, without checks.
  platform::RegResult Load(const platform::Registry& registry, std::string_view basePath);
  platform::RegResult Save(const platform::Registry& registry, std::string_view basePath) const;

  template <class Self, class Fields>
  static void Visit(Self& s, Fields& fields) {
    fields.Int("AnimFileOutputChoice", s.fileOutput);
    fields.Int("TimeDisplayChoice", s.timeDisplay);
    fields.Int("AVIFrameRateChoice", s.frameRateChoice);
    // Repaired by the loader as a 4-byte binary value, saved as a DWORD.
    fields.Float("AVIFrameRateValue", s.customFrameRate, platform::RegType::BINARY);
    fields.Dword("AVICompressionHandler", s.compressor);
    fields.Int("AVIQuality", s.quality);
    fields.Int("AVIKeyFrameRate", s.keyFrameEvery);
    fields.Int("AVIDataRate", s.dataRate);
    fields.Int("AVIFrameRate", s.frameRateNumerator);
    fields.Int("AVIFrameRateScale", s.frameRateDenominator);
  }
};

}  // namespace lumetra::render
