#include "animation/avi_compression.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "animation/ffmpeg_library.h"

namespace lumetra::animation {
namespace {

constexpr int32_t kBestQuality = 10000;

// `quality` placed linearly between the scale's value for quality 1 and for the best.
int OnScale(int32_t quality, int worst, int best) {
  const double share = static_cast<double>(std::clamp(quality, 1, kBestQuality) - 1) / (kBestQuality - 1);
  return static_cast<int>(std::lround(worst + (best - worst) * share));
}

void ApplyQuality(const AviCodec& codec, int32_t quality, AVCodecContext& encoder, AVDictionary*& options) {
  switch (codec.quality) {
    case QualityControl::None:
      return;
    case QualityControl::QScale:
      // mpeg4 and mjpeg hold this quantiser; cinepak reads the same number as its lambda.
      encoder.flags |= AV_CODEC_FLAG_QSCALE;
      encoder.global_quality = QScaleForQuality(quality) * FF_QP2LAMBDA;
      return;
    case QualityControl::Crf:
      Ffmpeg().av_dict_set(&options, "crf", std::to_string(CrfForQuality(quality)).c_str(), 0);
      return;
  }
}

void ApplyKeyFrameRate(const AviCodec& codec, int32_t every, AVCodecContext& encoder) {
  switch (codec.keyFrames) {
    case KeyFrameControl::GopSize:
      encoder.gop_size = every;
      return;
    case KeyFrameControl::KeyIntMin:
      encoder.keyint_min = every - 1;
      return;
  }
}

}  // namespace

int QScaleForQuality(int32_t quality) { return OnScale(quality, 31, 1); }

int CrfForQuality(int32_t quality) { return OnScale(quality, 51, 0); }

void ApplyCompressorSettings(const AviCodec& codec, const render::AnimationSettings& settings,
                             AVCodecContext& encoder, AVDictionary*& options) {
  if (settings.quality > 0) ApplyQuality(codec, settings.quality, encoder, options);
  if (settings.keyFrameEvery > 0) ApplyKeyFrameRate(codec, settings.keyFrameEvery, encoder);
  if (settings.dataRate > 0) encoder.bit_rate = int64_t{settings.dataRate} * 1000 * 8;
}

}  // namespace lumetra::animation
