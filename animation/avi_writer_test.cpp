// The AVI files as FFmpeg's own tools read them back: codecs, rates, positions, failures.
#include "animation/avi_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

#include "animation/testing/avi_test_support.h"
#include "platform/debug_log.h"
#include "platform/testing/recording_messages.h"
#include "platform/testing/recording_save_file_dialog.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::animation {
namespace {

using namespace animation::testing;

constexpr double kLossless = std::numeric_limits<double>::infinity();

class AviWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveFfmpegTools()) GTEST_SKIP() << "ffprobe and ffmpeg are not installed";
  }

  std::unique_ptr<render::RenderJob> Job(const std::string& name, uint32_t compressor, int32_t width = 96,
                                         int32_t height = 64) const {
    auto job = std::make_unique<render::RenderJob>();
    job->width = width;
    job->height = height;
    job->image = render::ImageBuffer(width, height);
    job->outputPath = (scratch_ / name).string();
    job->animationSettings.compressor = compressor;
    return job;
  }

  // Opens the job's file and writes frames first..first+count-1, frame n painted as
  // variant n; returns the pictures, top row first.
  std::vector<std::vector<uint8_t>> Animate(render::RenderJob& job, int32_t first, int32_t count) {
    std::vector<std::vector<uint8_t>> pictures;
    AviWriter writer;
    EXPECT_TRUE(writer.Open(job));
    for (int32_t index = first; index < first + count; ++index) {
      PaintTestPicture(job.image, index);
      EXPECT_TRUE(writer.WriteFrame(job, index));
      pictures.push_back(TopDown(job.image));
    }
    return pictures;
  }

  std::string MessageTexts() const {
    std::string texts;
    for (const platform::MessageRequest& call : messages_.Calls())
      texts += call.caption + ": " + call.text + "\n";
    return texts;
  }

  platform::ScratchDirectory scratch_;
  platform::RecordingMessages messages_;
};

struct CodecCase {
  const char* name;
  const char code[5];
  const char* codecName;  // as ffprobe names the decoder
  const char* tag;        // as ffprobe shows the file's tag
  double minimumPsnr;     // dB, kLossless for identical pixels (alpha included)
};

// Video 1 keeps 15-bit colour and FFmpeg's encoder a fixed error threshold: 33 to 34 dB
// on these pictures at any quality.
const CodecCase kCodecs[] = {
    {"Dib", "DIB ", "rawvideo", "[0][0][0][0]", kLossless},
    {"NoCompressor", "\0\0\0\0", "rawvideo", "[0][0][0][0]", kLossless},
    {"Ffv1", "FFV1", "ffv1", "FFV1", kLossless},
    {"Msvc", "MSVC", "msvideo1", "MSVC", 32},
    {"Cram", "CRAM", "msvideo1", "CRAM", 32},
    {"LowerCaseMsvc", "msvc", "msvideo1", "msvc", 32},
    {"Mjpg", "MJPG", "mjpeg", "MJPG", 35},
    {"Cvid", "cvid", "cinepak", "cvid", 35},
    {"Xvid", "XVID", "mpeg4", "XVID", 35},
    {"Divx", "DIVX", "mpeg4", "DIVX", 35},
    {"Fmp4", "FMP4", "mpeg4", "FMP4", 35},
    {"Dx50", "DX50", "mpeg4", "DX50", 35},
    {"H264", "H264", "h264", "H264", 35},
    {"X264", "X264", "h264", "X264", 35},
};

void PrintTo(const CodecCase& test, std::ostream* out) { *out << test.name; }

class AviCodecTest : public AviWriterTest, public ::testing::WithParamInterface<CodecCase> {};

TEST_P(AviCodecTest, FfmpegReadsTheFramesBackWithTheCodeAskedFor) {
  const CodecCase& test = GetParam();
  auto job = Job("walk.avi", Code(test.code), 320, 240);
  job->animationSettings.quality = 10000;
  const auto pictures = Animate(*job, 0, 3);
  EXPECT_EQ(MessageTexts(), "");

  const auto stream = ProbeStream(job->outputPath);
  ASSERT_FALSE(stream.empty()) << "ffprobe cannot read " << job->outputPath;
  EXPECT_EQ(stream.at("codec_name"), test.codecName);
  EXPECT_EQ(stream.at("codec_tag_string"), test.tag);
  EXPECT_EQ(stream.at("nb_frames"), "3");
  EXPECT_EQ(stream.at("r_frame_rate"), "15/1");
  EXPECT_EQ(stream.at("width"), "320");
  EXPECT_EQ(stream.at("height"), "240");

  const auto frames = DecodeFrames(job->outputPath, 320, 240);
  ASSERT_EQ(frames.size(), pictures.size());
  for (size_t k = 0; k < frames.size(); ++k) {
    if (test.minimumPsnr == kLossless) {
      EXPECT_TRUE(frames[k] == pictures[k]) << "frame " << k;
      continue;
    }
    const double psnr = Psnr(frames[k], pictures[k]);
    RecordProperty("psnr" + std::to_string(k), std::to_string(psnr));
    EXPECT_GT(psnr, test.minimumPsnr) << "frame " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, AviCodecTest, ::testing::ValuesIn(kCodecs),
                         [](const ::testing::TestParamInfo<CodecCase>& info) { return info.param.name; });

// The file and ffprobe keep the fraction in lowest terms. ffprobe's r_frame_rate of an
// mpeg4 or H.264 stream is a guess from the codec's own timing (60000/1001 for 5994/100);
// the average rate is the file's.
TEST_F(AviWriterTest, TheStreamRateIsTheSettingsFractionExactly) {
  for (const char* code : {"MSVC", "XVID"}) {
    for (const auto& [numerator, denominator] : {std::pair{15, 1}, std::pair{5994, 100}}) {
      SCOPED_TRACE(std::string(code) + " " + std::to_string(numerator));
      auto job = Job("rate.avi", Code(code));
      job->animationSettings.frameRateNumerator = numerator;
      job->animationSettings.frameRateDenominator = denominator;
      Animate(*job, 0, 3);
      const auto [rate, scale] = StreamRate(job->outputPath);
      EXPECT_EQ(int64_t{rate} * denominator, int64_t{scale} * numerator) << rate << "/" << scale;
      const auto stream = ProbeStream(job->outputPath);
      const std::string expected = numerator == 15 ? "15/1" : "2997/50";
      EXPECT_EQ(stream.at("avg_frame_rate"), expected);
      if (std::string(code) == "MSVC") {
        EXPECT_EQ(stream.at("r_frame_rate"), expected);
      }
    }
  }
}

TEST_F(AviWriterTest, AnAnimationStartingLaterLeavesTheFirstPositionsEmpty) {
  for (const char* code : {"DIB ", "XVID"}) {
    SCOPED_TRACE(code);
    auto job = Job(std::string(code, 4) + ".avi", Code(code));
    const auto pictures = Animate(*job, 5, 3);
    EXPECT_EQ(ProbeStream(job->outputPath).at("nb_frames"), "8");
    const std::vector<uint32_t> sizes = IndexedChunkSizes(job->outputPath);
    ASSERT_EQ(sizes.size(), 8u);
    EXPECT_EQ(std::count(sizes.begin(), sizes.begin() + 5, 0u), 5);
    EXPECT_EQ(std::count(sizes.begin() + 5, sizes.end(), 0u), 0);
    const auto packets = ProbePackets(job->outputPath);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0].position, 5);
    EXPECT_EQ(packets[2].position, 7);
    const auto frames = DecodeFrames(job->outputPath, job->width, job->height);
    ASSERT_EQ(frames.size(), 3u);
    for (size_t k = 0; k < frames.size(); ++k)
      EXPECT_GT(Psnr(frames[k], pictures[k]), 30) << "frame " << 5 + k;
  }
}

TEST_F(AviWriterTest, AFailedFrameCostsOnlyThatFrame) {
  auto job = Job("walk.avi", Code("MJPG"));
  auto small = Job("small.avi", Code("MJPG"), 10, 10);
  AviWriter writer;
  ASSERT_TRUE(writer.Open(*job));
  PaintTestPicture(job->image, 0);
  EXPECT_TRUE(writer.WriteFrame(*job, 0));
  EXPECT_FALSE(writer.WriteFrame(*small, 1));
  EXPECT_TRUE(writer.WriteFrame(*job, 2));
  EXPECT_FALSE(writer.WriteFrame(*job, 2));
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(MessageTexts(), "Error: Failed to write frame 1 of '" + job->outputPath +
                                "', reason: the picture is 10 x 10 pixels, the file's frames 96 x 64\n"
                                "Error: Failed to write frame 2 of '" +
                                job->outputPath +
                                "', reason: frames go to increasing positions; the next free one is 3\n");
  const std::vector<uint32_t> sizes = IndexedChunkSizes(job->outputPath);
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_GT(sizes[0], 0u);
  EXPECT_EQ(sizes[1], 0u);
  EXPECT_GT(sizes[2], 0u);
  EXPECT_EQ(DecodeFrames(job->outputPath, 96, 64).size(), 2u);
}

std::vector<int64_t> KeyFramePositions(const std::filesystem::path& file) {
  std::vector<int64_t> positions;
  for (const ProbedPacket& packet : ProbePackets(file)) {
    if (packet.key) positions.push_back(packet.position);
  }
  return positions;
}

// Encoders may add key frames of their own (x264 at a change of scene), never fewer.
TEST_F(AviWriterTest, KeyFramesComeAtLeastEveryNFramesOrAtTheCodecsOwnRate) {
  for (const char* code : {"XVID", "MSVC", "cvid", "FFV1", "H264"}) {
    SCOPED_TRACE(code);
    auto job = Job("keys.avi", Code(code));
    job->animationSettings.keyFrameEvery = 5;
    Animate(*job, 0, 11);
    std::vector<int64_t> keys = KeyFramePositions(job->outputPath);
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), 0);
    EXPECT_LT(keys.size(), 5u);
    keys.push_back(11);
    for (size_t k = 1; k < keys.size(); ++k) EXPECT_LE(keys[k] - keys[k - 1], 5) << "after " << keys[k - 1];
  }
  // mpeg4's own group of pictures is 12 frames.
  auto job = Job("default.avi", Code("XVID"));
  job->animationSettings.keyFrameEvery = 0;
  Animate(*job, 0, 13);
  EXPECT_EQ(KeyFramePositions(job->outputPath), (std::vector<int64_t>{0, 12}));
}

TEST_F(AviWriterTest, QualityAndDataRateReachTheEncoder) {
  for (const char* code : {"XVID", "MJPG", "cvid"}) {
    SCOPED_TRACE(code);
    double psnr[2] = {};
    uintmax_t bytes[2] = {};
    for (const int32_t quality : {1, 10000}) {
      auto job = Job(std::to_string(quality) + ".avi", Code(code));
      job->animationSettings.quality = quality;
      job->animationSettings.dataRate = 0;
      const auto pictures = Animate(*job, 0, 1);
      const auto frames = DecodeFrames(job->outputPath, job->width, job->height);
      ASSERT_EQ(frames.size(), 1u);
      psnr[quality > 1] = Psnr(frames[0], pictures[0]);
      bytes[quality > 1] = std::filesystem::file_size(job->outputPath);
    }
    EXPECT_GT(psnr[1], psnr[0] + 3);
    EXPECT_GT(bytes[1], bytes[0]);
  }
  auto job = Job("rate.avi", Code("XVID"));
  job->animationSettings.dataRate = 300;
  Animate(*job, 0, 1);
  EXPECT_EQ(MaxBytesPerSecond(job->outputPath), 300000u);
}

TEST_F(AviWriterTest, OddSizesArePaddedWhereTheCodecNeedsIt) {
  struct Case {
    const char code[5];
    const char* width;
    const char* height;
  };
  for (const Case& test : {Case{"DIB ", "37", "23"}, Case{"XVID", "38", "24"}, Case{"MJPG", "38", "24"},
                           Case{"MSVC", "40", "24"}, Case{"cvid", "40", "24"}, Case{"H264", "38", "24"}}) {
    SCOPED_TRACE(test.code);
    auto job = Job("odd.avi", Code(test.code), 37, 23);
    job->animationSettings.quality = 10000;
    const auto pictures = Animate(*job, 0, 1);
    const auto stream = ProbeStream(job->outputPath);
    EXPECT_EQ(stream.at("width"), test.width);
    EXPECT_EQ(stream.at("height"), test.height);
    const int32_t width = std::stoi(test.width);
    const auto frames = DecodeFrames(job->outputPath, width, std::stoi(test.height));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_GT(Psnr(Crop(frames[0], width, 37, 23), pictures[0]), 28);
  }
}

TEST_F(AviWriterTest, AFailedOpenSaysWhyAndLeavesNoFile) {
  struct Case {
    const char* name;
    std::function<void(render::RenderJob&)> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"unknown code", [](render::RenderJob& job) { job.animationSettings.compressor = Code("ABCD"); },
       "Failed to create video compressor for '%s'"},
      {"no rate", [](render::RenderJob& job) { job.animationSettings.frameRateNumerator = 0; },
       "Failed to create AVI stream for '%s'"},
      {"no picture", [](render::RenderJob& job) { job.width = 0; }, "Failed to create AVI stream for '%s'"},
      {"no folder",
       [this](render::RenderJob& job) { job.outputPath = (scratch_ / "missing" / "walk.avi").string(); },
       "Failed to create AVI file: '%s'"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    messages_.Clear();
    auto job = Job("walk.avi", Code("MSVC"));
    test.spoil(*job);
    AviWriter writer;
    EXPECT_FALSE(writer.Open(*job));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.WriteFrame(*job, 0));
    std::string message = test.message;
    message.replace(message.find("%s"), 2, job->outputPath);
    EXPECT_EQ(MessageTexts(), "Error: " + message + "\n");
    EXPECT_FALSE(std::filesystem::exists(job->outputPath));
    EXPECT_NE(platform::DebugLog::Lines().back().find(message + ": "), std::string::npos);
  }
}

TEST_F(AviWriterTest, WritingTwiceKeepsTheFirstFileAsBak) {
  auto job = Job("walk.avi", Code("MSVC"));
  Animate(*job, 0, 2);
  const std::vector<uint8_t> first = ReadFile(job->outputPath);
  Animate(*job, 0, 3);
  EXPECT_EQ(ReadFile(scratch_ / "walk.bak"), first);
  EXPECT_EQ(ProbeStream(job->outputPath).at("nb_frames"), "3");
  EXPECT_EQ(MessageTexts(), "");
}

TEST_F(AviWriterTest, AReadOnlyFileFailsWithoutAMessage) {
  auto job = Job("walk.avi", Code("MSVC"));
  Animate(*job, 0, 1);
  const std::vector<uint8_t> kept = ReadFile(job->outputPath);
  std::filesystem::permissions(job->outputPath, std::filesystem::perms::owner_read);
  AviWriter writer;
  EXPECT_FALSE(writer.Open(*job));
  EXPECT_EQ(messages_.Count(), 0u);
  EXPECT_EQ(ReadFile(job->outputPath), kept);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "walk.bak"));
}

// A backup name taken by a folder that is not empty cannot be replaced nor deleted, so
// the old file cannot be moved aside, whoever runs the test.
class BusyAviTest : public AviWriterTest {
 protected:
  void SetUp() override {
    AviWriterTest::SetUp();
    std::filesystem::create_directories(scratch_ / "walk.bak" / "kept");
    std::ofstream(scratch_ / "walk.avi") << "an older animation";
  }
};

TEST_F(BusyAviTest, CancelFails) {
  messages_.AnswerNext(platform::MessageAnswer::Cancel);
  platform::RecordingSaveFileDialog dialog;
  auto job = Job("walk.avi", Code("MSVC"));
  AviWriter writer;
  EXPECT_FALSE(writer.Open(*job));
  ASSERT_EQ(messages_.Count(), 1u);
  const platform::MessageRequest question = messages_.Calls()[0];
  EXPECT_EQ(question.caption, "Error");
  EXPECT_EQ(question.text, "AVI File: '" + job->outputPath + "' is busy - choose another name?");
  EXPECT_EQ(question.buttons, platform::MessageButtons::OkCancel);
  EXPECT_TRUE(dialog.Requests().empty());
  EXPECT_EQ(ReadFile(scratch_ / "walk.avi").size(), std::string("an older animation").size());
}

TEST_F(BusyAviTest, OkWritesToTheNamePicked) {
  platform::RecordingSaveFileDialog dialog;
  dialog.AnswerNext(scratch_ / "other.avi");
  auto job = Job("walk.avi", Code("MSVC"));
  const std::string busy = job->outputPath;
  Animate(*job, 0, 2);
  EXPECT_EQ(job->outputPath, (scratch_ / "other.avi").string());
  EXPECT_EQ(ProbeStream(job->outputPath).at("nb_frames"), "2");
  ASSERT_EQ(dialog.Requests().size(), 1u);
  const platform::SaveFileRequest request = dialog.Requests()[0];
  EXPECT_EQ(request.defaultExtension, ".avi");
  EXPECT_EQ(request.filter, "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||");
  EXPECT_TRUE(request.overwritePrompt);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_EQ(request.folder, scratch_.Path());
  EXPECT_EQ(request.fileName, "walk.avi");
  EXPECT_EQ(MessageTexts(), "Error: AVI File: '" + busy + "' is busy - choose another name?\n");
}

TEST_F(BusyAviTest, OkWithoutAPickFails) {
  platform::RecordingSaveFileDialog dialog;  // its empty script cancels
  auto job = Job("walk.avi", Code("MSVC"));
  AviWriter writer;
  EXPECT_FALSE(writer.Open(*job));
  EXPECT_EQ(dialog.Requests().size(), 1u);
  EXPECT_EQ(job->outputPath, (scratch_ / "walk.avi").string());
}

}  // namespace
}  // namespace lumetra::animation
