#include "animation/avi_writer.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "animation/avi_codecs.h"
#include "animation/avi_encoder.h"
#include "animation/avi_output_name.h"
#include "animation/ffmpeg_support.h"
#include "platform/debug_log.h"
#include "platform/messages.h"
#include "platform/native_path.h"

namespace lumetra::animation {
namespace {

void ShowError(const std::string& text) {
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

// A step of opening that failed: the message the user sees, and the cause behind it for
// the debug output.
class OpenFailure : public std::runtime_error {
 public:
  OpenFailure(const std::string& message, const std::string& cause)
      : std::runtime_error(message), cause_(cause) {}
  const std::string& Cause() const { return cause_; }

 private:
  std::string cause_;
};

// Beyond the picture sizes of any encoder in the table; keeps padding arithmetic in range.
constexpr int32_t kMaxSide = 65536;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Failures while closing reach nobody but the debug output.
void LogFailure(const char* step, const std::filesystem::path& file, int result) {
  if (result < 0) {
    platform::DebugLog::Printf("%s %s: %s\n", step, file.c_str(), FfmpegErrorText(result).c_str());
  }
}

}  // namespace

// The open file: the muxer writing it, its video stream and that stream's encoder.
struct AviWriter::State {
  explicit State(const render::RenderJob& job)
      : shownPath(job.outputPath),
        file(platform::NativePath(job.outputPath)),
        width(job.width),
        height(job.height) {}
  ~State();

  void CreateFile();
  void CreateStream(const render::AnimationSettings& settings);
  void CreateEncoder(const render::AnimationSettings& settings);
  void WriteHeader();

  // Empty when the picture went to the encoder; else the reason it did not.
  std::string Write(const render::ImageBuffer& image, int32_t index);
  int WriteEmptyChunk(int64_t position);
  int Mux(AVPacket& packet);
  void Finish();

  const std::string shownPath;  // as the job names it, for messages
  const std::filesystem::path file;
  const int32_t width;
  const int32_t height;
  AVFormatContext* format = nullptr;
  AVStream* stream = nullptr;
  const AviCodec* codec = nullptr;
  uint32_t tag = 0;
  std::optional<AviEncoder> encoder;
  int64_t nextPosition = 0;  // frames go to increasing positions
  bool finished = false;     // the index is written: the file stays
};

AviWriter::State::~State() {
  if (format == nullptr) return;
  if (format->pb != nullptr) {
    LogFailure("Closing", file, Ffmpeg().avio_closep(&format->pb));
    // A file that never got its index is of no use to anyone.
    std::error_code error;
    if (!finished && !std::filesystem::remove(file, error) && error) {
      platform::DebugLog::Printf("Removing %s: %s\n", file.c_str(), error.message().c_str());
    }
  }
  Ffmpeg().avformat_free_context(format);
}

void AviWriter::State::CreateFile() {
  const int result = Ffmpeg().avformat_alloc_output_context2(&format, nullptr, "avi", file.c_str());
  const int opened = result < 0 ? result : Ffmpeg().avio_open(&format->pb, file.c_str(), AVIO_FLAG_WRITE);
  if (opened < 0) {
    throw OpenFailure("Failed to create AVI file: " + Quoted(shownPath), FfmpegErrorText(opened));
  }
}

void AviWriter::State::CreateStream(const render::AnimationSettings& settings) {
  const std::string message = "Failed to create AVI stream for " + Quoted(shownPath);
  if (settings.frameRateNumerator <= 0 || settings.frameRateDenominator <= 0) {
    throw OpenFailure(message, "the frame rate " + std::to_string(settings.frameRateNumerator) + "/" +
                                   std::to_string(settings.frameRateDenominator) + " is no rate");
  }
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    throw OpenFailure(message,
                      "frames of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  }
  stream = Ffmpeg().avformat_new_stream(format, nullptr);
  if (stream == nullptr) throw OpenFailure(message, "no memory for a stream");
  // Exactly the settings' rate; the muxer only reduces the fraction.
  stream->time_base = {settings.frameRateDenominator, settings.frameRateNumerator};
}

void AviWriter::State::CreateEncoder(const render::AnimationSettings& settings) {
  const std::string message = "Failed to create video compressor for " + Quoted(shownPath);
  codec = FindAviCodec(settings.compressor);
  if (codec == nullptr) {
    throw OpenFailure(message, "no encoder for the compressor '" + FourCCText(settings.compressor) + "'");
  }
  tag = FileTag(*codec, settings.compressor);
  try {
    encoder.emplace(*codec, tag, settings, width, height);
  } catch (const FfmpegError& error) {
    throw OpenFailure(message, error.what());
  }
}

void AviWriter::State::WriteHeader() {
  const std::string message = "Failed to set AVI stream format for " + Quoted(shownPath);
  int result = Ffmpeg().avcodec_parameters_from_context(stream->codecpar, &encoder->Context());
  if (result < 0) throw OpenFailure(message, FfmpegErrorText(result));
  stream->codecpar->codec_tag = tag;
  FfmpegOptions options;
  // The image buffer's rows are bottom-up already: the header says so (positive height).
  if (codec->uncompressedDib) Ffmpeg().av_dict_set(&options.Get(), "flipped_raw_rgb", "1", 0);
  result = Ffmpeg().avformat_write_header(format, &options.Get());
  if (result < 0) throw OpenFailure(message, FfmpegErrorText(result));
}

std::string AviWriter::State::Write(const render::ImageBuffer& image, int32_t index) {
  if (index < nextPosition) {
    return "frames go to increasing positions; the next free one is " + std::to_string(nextPosition);
  }
  if (!image.Valid() || image.Width() != width || image.Height() != height) {
    return "the picture is " + std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
           " pixels, the file's frames " + std::to_string(width) + " x " + std::to_string(height);
  }
  // The muxer fills the positions between two chunks with empty ones, but not those
  // before its first: an animation that starts later gets position 0 by hand.
  int result = nextPosition == 0 && index > 0 ? WriteEmptyChunk(0) : 0;
  nextPosition = index + 1;
  const auto mux = [this](AVPacket& packet) { return Mux(packet); };
  if (result >= 0) result = encoder->Encode(image.Bytes(), index, mux);
  return result < 0 ? FfmpegErrorText(result) : std::string();
}

int AviWriter::State::WriteEmptyChunk(int64_t position) {
  PacketPtr empty(Ffmpeg().av_packet_alloc());
  if (!empty) return AVERROR(ENOMEM);
  empty->pts = empty->dts = position;
  empty->stream_index = stream->index;
  return Ffmpeg().av_write_frame(format, empty.get());
}

int AviWriter::State::Mux(AVPacket& packet) {
  packet.stream_index = stream->index;
  Ffmpeg().av_packet_rescale_ts(&packet, encoder->Context().time_base, stream->time_base);
  return Ffmpeg().av_write_frame(format, &packet);
}

void AviWriter::State::Finish() {
  LogFailure("Last frames of", file, encoder->Flush([this](AVPacket& packet) { return Mux(packet); }));
  LogFailure("Index of", file, Ffmpeg().av_write_trailer(format));
  finished = true;
}

AviWriter::AviWriter() = default;

AviWriter::~AviWriter() { Close(); }

bool AviWriter::Open(render::RenderJob& job) {
  Close();
  try {
    RouteFfmpegLogToDebugLog();  // the first call loads FFmpeg's libraries
  } catch (const FfmpegError& error) {
    platform::DebugLog::Printf("%s\n", error.what());
    ShowError(error.what());
    return false;
  }
  if (!MakeWayForOutput(job)) return false;
  auto state = std::make_unique<State>(job);
  try {
    state->CreateFile();
    state->CreateStream(job.animationSettings);
    state->CreateEncoder(job.animationSettings);
    state->WriteHeader();
  } catch (const OpenFailure& failure) {
    platform::DebugLog::Printf("%s: %s\n", failure.what(), failure.Cause().c_str());
    state.reset();  // the partial file goes before the user hears of it
    ShowError(failure.what());
    return false;
  }
  state_ = std::move(state);
  return true;
}

bool AviWriter::WriteFrame(const render::RenderJob& job, int32_t index) {
  if (!state_) return false;
  const std::string reason = state_->Write(job.image, index);
  if (reason.empty()) return true;
  ShowError("Failed to write frame " + std::to_string(index) + " of " + Quoted(state_->shownPath) +
            ", reason: " + reason);
  return false;
}

void AviWriter::Close() {
  if (!state_) return;
  state_->Finish();
  state_.reset();
}

bool AviWriter::IsOpen() const { return state_ != nullptr; }

}  // namespace lumetra::animation
