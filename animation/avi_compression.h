#pragma once

// The animation's compressor settings as encoder options.
#include "animation/avi_codecs.h"
#include "render/animation_settings.h"

struct AVCodecContext;
struct AVDictionary;

namespace lumetra::animation {

// Quality 1..10000 on FFmpeg's quantiser scale: 31 (worst) to 1 (best), linear.
int QScaleForQuality(int32_t quality);
// Quality 1..10000 as x264's constant rate factor: 51 (worst) to 0 (best), linear.
int CrfForQuality(int32_t quality);

// Sets quality, key frame rate and data rate on an encoder that is not open yet, the
// way `codec` takes each; a setting of 0 (or below) leaves the encoder's own default.
// Quality above 10000 counts as 10000. The data rate is in kilobytes per second:
// dataRate x 1000 bytes.
void ApplyCompressorSettings(const AviCodec& codec, const render::AnimationSettings& settings,
                             AVCodecContext& encoder, AVDictionary*& options);

}  // namespace lumetra::animation
