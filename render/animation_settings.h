#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "abi/animation_run_record.h"
#include "abi/settings_values.h"
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

using abi::FourCC;

// The animation output settings: they travel with the scene's keyframe data; the
// registry keeps the defaults a scene without keyframe data takes.
struct AnimationSettings {
  int32_t fileOutput = static_cast<int32_t>(abi::kFileOutputSetting.defaultValue);
  int32_t timeDisplay = static_cast<int32_t>(abi::kTimeDisplaySetting.defaultValue);
  int32_t frameRateChoice = static_cast<int32_t>(abi::kFrameRateChoiceSetting.defaultValue);
  float customFrameRate = static_cast<float>(abi::kCustomFrameRateSetting.defaultValue);
  uint32_t compressor = FourCC(abi::kDefaultCompressor);
  int32_t quality = static_cast<int32_t>(abi::kQualitySetting.defaultValue);
  int32_t keyFrameEvery = static_cast<int32_t>(abi::kKeyFrameRateSetting.defaultValue);
  int32_t dataRate = static_cast<int32_t>(abi::kDataRateSetting.defaultValue);
  int32_t frameRateNumerator = static_cast<int32_t>(abi::kFrameRateNumeratorSetting.defaultValue);
  int32_t frameRateDenominator = static_cast<int32_t>(abi::kFrameRateDenominatorSetting.defaultValue);
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
    fields.Int(abi::kFileOutputSetting.name, s.fileOutput);
    fields.Int(abi::kTimeDisplaySetting.name, s.timeDisplay);
    fields.Int(abi::kFrameRateChoiceSetting.name, s.frameRateChoice);
    // Repaired by the loader as a 4-byte binary value, saved as a DWORD.
    fields.Float(abi::kCustomFrameRateSetting.name, s.customFrameRate, platform::RegType::BINARY);
    fields.Dword(abi::kCompressorSetting.name, s.compressor);
    fields.Int(abi::kQualitySetting.name, s.quality);
    fields.Int(abi::kKeyFrameRateSetting.name, s.keyFrameEvery);
    fields.Int(abi::kDataRateSetting.name, s.dataRate);
    fields.Int(abi::kFrameRateNumeratorSetting.name, s.frameRateNumerator);
    fields.Int(abi::kFrameRateDenominatorSetting.name, s.frameRateDenominator);
  }
};

}  // namespace lumetra::render
