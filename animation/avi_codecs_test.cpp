// The compressor table and how the compressor settings become encoder options.
#include "animation/avi_codecs.h"

#include <gtest/gtest.h>

#include <string>

#include "animation/avi_compression.h"
#include "animation/ffmpeg_support.h"
#include "animation/testing/avi_test_support.h"

namespace lumetra::animation {
namespace {

// Every code of the table is written and read back in avi_writer_test.cpp.
TEST(AviCodecs, UnknownCodesHaveNoEncoder) {
  EXPECT_EQ(FindAviCodec(render::FourCC("ABCD")), nullptr);
  EXPECT_EQ(FindAviCodec(render::FourCC("IV50")), nullptr);
  EXPECT_EQ(FindAviCodec(render::FourCC("DIB\0")), nullptr);
}

TEST(AviCodecs, CodesReadAsTextWithUnprintableBytesInBrackets) {
  EXPECT_EQ(FourCCText(render::FourCC("cvid")), "cvid");
  EXPECT_EQ(FourCCText(0x01000041), "A[0][0][1]");
}

TEST(AviCodecs, TheChooserOffersWhatThisFFmpegCanEncodeWithItsStartingSettings) {
  const std::vector<AviCodecOffer> offers = AvailableAviCodecs();
  bool hasVideo1 = false;
  for (const AviCodecOffer& offer : offers) {
    EXPECT_EQ(FindAviCodec(render::FourCC(offer.codec->handler)), offer.codec);
    EXPECT_FALSE(offer.description.empty());
    if (std::string(offer.codec->handler) == "MSVC") {
      hasVideo1 = true;
      EXPECT_EQ(offer.quality, 10000);  // Video 1 ignores the quality
      EXPECT_EQ(offer.keyFrameEvery, 15);
    }
    if (offer.codec->uncompressedDib) {
      EXPECT_EQ(offer.keyFrameEvery, 1);
      EXPECT_EQ(offer.dataRate, 0);
    }
    if (offer.codec->quality != QualityControl::None) {
      EXPECT_EQ(offer.quality, 8500);
    }
  }
  EXPECT_TRUE(hasVideo1);  // the settings' default compressor
  EXPECT_GE(offers.size(), 2u);
}

TEST(AviCompression, QualityRunsFromTheWorstToTheBestStepOfEachScale) {
  EXPECT_EQ(QScaleForQuality(1), 31);
  EXPECT_EQ(QScaleForQuality(10000), 1);
  EXPECT_EQ(QScaleForQuality(8500), 6);
  EXPECT_EQ(QScaleForQuality(20000), 1);
  EXPECT_EQ(CrfForQuality(1), 51);
  EXPECT_EQ(CrfForQuality(10000), 0);
  EXPECT_EQ(CrfForQuality(5000), 26);
}

// An encoder context as FFmpeg makes it, and the same after the settings.
struct Configured {
  CodecContextPtr fresh;
  CodecContextPtr set;
  std::string options;
};

Configured Configure(const char* handler, const render::AnimationSettings& settings) {
  const AviCodec& codec = *FindAviCodec(testing::Code(handler));
  const AVCodec* encoder = avcodec_find_encoder_by_name(codec.encoder);
  Configured result{CodecContextPtr(avcodec_alloc_context3(encoder)),
                    CodecContextPtr(avcodec_alloc_context3(encoder)), ""};
  FfmpegOptions options;
  ApplyCompressorSettings(codec, settings, *result.set, options.Get());
  if (const AVDictionaryEntry* crf = av_dict_get(options.Get(), "crf", nullptr, 0)) {
    result.options = crf->value;
  }
  return result;
}

TEST(AviCompression, ZeroLeavesEachSettingToTheEncoder) {
  render::AnimationSettings settings;
  settings.quality = 0;
  settings.keyFrameEvery = 0;
  settings.dataRate = 0;
  for (const char* handler : {"XVID", "MSVC", "H264"}) {
    const Configured encoder = Configure(handler, settings);
    EXPECT_EQ(encoder.set->flags, encoder.fresh->flags) << handler;
    EXPECT_EQ(encoder.set->global_quality, encoder.fresh->global_quality) << handler;
    EXPECT_EQ(encoder.set->gop_size, encoder.fresh->gop_size) << handler;
    EXPECT_EQ(encoder.set->keyint_min, encoder.fresh->keyint_min) << handler;
    EXPECT_EQ(encoder.set->bit_rate, encoder.fresh->bit_rate) << handler;
    EXPECT_EQ(encoder.options, "") << handler;
  }
}

TEST(AviCompression, EachEncoderTakesTheSettingsItsOwnWay) {
  render::AnimationSettings settings;
  settings.quality = 10000;
  settings.keyFrameEvery = 5;
  settings.dataRate = 300;

  const Configured mpeg4 = Configure("XVID", settings);
  EXPECT_TRUE(mpeg4.set->flags & AV_CODEC_FLAG_QSCALE);
  EXPECT_EQ(mpeg4.set->global_quality, FF_QP2LAMBDA);
  EXPECT_EQ(mpeg4.set->gop_size, 5);
  EXPECT_EQ(mpeg4.set->bit_rate, 300 * 1000 * 8);

  const Configured video1 = Configure("MSVC", settings);
  EXPECT_EQ(video1.set->global_quality, video1.fresh->global_quality);
  EXPECT_EQ(video1.set->keyint_min, 4);

  const Configured x264 = Configure("H264", settings);
  EXPECT_EQ(x264.options, "0");
  EXPECT_EQ(x264.set->global_quality, x264.fresh->global_quality);
}

}  // namespace
}  // namespace lumetra::animation
