#include "animation/testing/avi_test_support.h"

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <span>
#include <sstream>

#include "platform/byte_reader.h"
#include "platform/testing/child_process.h"
#include "render/animation_settings.h"

namespace lumetra::animation::testing {
namespace {

// The command's standard output; nullopt when it did not exit with 0.
std::optional<std::string> Run(const std::string& command) {
  platform::ShellRun run = platform::RunShell(command);
  if (run.exitCode != 0) return std::nullopt;
  return std::move(run.output);
}

std::string Quoted(const std::filesystem::path& file) { return "'" + file.string() + "'"; }

uint32_t U32(std::span<const uint8_t> bytes, size_t at) {
  return platform::LoadU32(bytes.data() + at, platform::ByteOrder::kLittle);
}

// The data of the first chunk `id` in a run of RIFF chunks, looking into lists.
std::optional<std::span<const uint8_t>> FindChunk(std::span<const uint8_t> chunks, const char* id) {
  size_t at = 0;
  while (at + 8 <= chunks.size()) {
    const uint32_t size = U32(chunks, at + 4);
    if (size > chunks.size() - at - 8) return std::nullopt;
    const std::span<const uint8_t> data = chunks.subspan(at + 8, size);
    if (std::memcmp(&chunks[at], id, 4) == 0) return data;
    const bool list = std::memcmp(&chunks[at], "RIFF", 4) == 0 || std::memcmp(&chunks[at], "LIST", 4) == 0;
    if (list && size >= 4) {
      if (auto found = FindChunk(data.subspan(4), id)) return found;
    }
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

std::span<const uint8_t> ChunkOf(const std::vector<uint8_t>& file, const char* id, size_t atLeast) {
  const auto chunk = FindChunk(file, id);
  if (!chunk || chunk->size() < atLeast) {
    throw std::runtime_error(std::string("no ") + id + " chunk");
  }
  return *chunk;
}

}  // namespace

bool HaveFfmpegTools() {
  return std::system("command -v ffprobe >/dev/null 2>&1 && command -v ffmpeg >/dev/null 2>&1") == 0;
}

uint32_t Code(const char* letters) {
  char code[5] = {};
  std::memcpy(code, letters, 4);
  return render::FourCC(code);
}

std::map<std::string, std::string> ProbeStream(const std::filesystem::path& file) {
  const auto out =
      Run("ffprobe -v error -select_streams v:0 -show_entries "
          "stream=codec_name,codec_tag_string,r_frame_rate,avg_frame_rate,nb_frames,width,height "
          "-of default=noprint_wrappers=1 " +
          Quoted(file));
  std::map<std::string, std::string> entries;
  if (!out) return entries;
  std::istringstream lines(*out);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) entries[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return entries;
}

std::vector<ProbedPacket> ProbePackets(const std::filesystem::path& file) {
  const auto out =
      Run("ffprobe -v error -select_streams v:0 -show_entries packet=dts,flags -of csv=p=0 " + Quoted(file));
  std::vector<ProbedPacket> packets;
  if (!out) return packets;
  std::istringstream lines(*out);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    packets.push_back({std::stoll(line.substr(0, comma)), line[comma + 1] == 'K'});
  }
  return packets;
}

std::vector<std::vector<uint8_t>> DecodeFrames(const std::filesystem::path& file, int32_t width,
                                               int32_t height) {
  const std::filesystem::path raw = file.string() + ".bgra";
  if (!Run("ffmpeg -v error -y -i " + Quoted(file) + " -fps_mode passthrough -f rawvideo -pix_fmt bgra " +
           Quoted(raw))) {
    return {};
  }
  const std::vector<uint8_t> bytes = ReadFile(raw);
  const size_t frameBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  std::vector<std::vector<uint8_t>> frames;
  for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
    frames.emplace_back(bytes.begin() + static_cast<ptrdiff_t>(at),
                        bytes.begin() + static_cast<ptrdiff_t>(at + frameBytes));
  }
  return frames;
}

std::vector<uint32_t> IndexedChunkSizes(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = ReadFile(file);
  const std::span<const uint8_t> index = ChunkOf(bytes, "idx1", 0);
  std::vector<uint32_t> sizes;
  for (size_t at = 0; at + 16 <= index.size(); at += 16) sizes.push_back(U32(index, at + 12));
  return sizes;
}

std::pair<uint32_t, uint32_t> StreamRate(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = ReadFile(file);
  const std::span<const uint8_t> header = ChunkOf(bytes, "strh", 28);
  return {U32(header, 24), U32(header, 20)};
}

uint32_t MaxBytesPerSecond(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = ReadFile(file);
  return U32(ChunkOf(bytes, "avih", 8), 4);
}

namespace {

// How much of a pixel at signed distance `inside` from an edge is covered: the edges are
// smoothed over a pixel, as a renderer's anti-aliasing would.
double Coverage(double inside) { return std::clamp(inside + 0.5, 0.0, 1.0); }

double Blend(double under, double over, double coverage) { return under + (over - under) * coverage; }

}  // namespace

void PaintTestPicture(render::ImageBuffer& image, int variant) {
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  const double discX = width * (0.3 + 0.1 * variant);
  const double discY = height * 0.45;
  const double radius = std::min(width, height) * 0.25;
  const double barLeft = width / 8.0 + variant * 3;
  const double barRight = width / 2.0 + variant * 3;
  const double barTop = height * 0.75;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      double red = 40 + 170.0 * x / width;
      double green = 60 + 150.0 * y / height;
      double blue = 90 + 60.0 * std::sin((x + y + 7 * variant) * 0.08);
      const double disc = Coverage(radius - std::hypot(x - discX, y - discY));
      red = Blend(red, 220 - 40.0 * y / height, disc);
      green = Blend(green, 150, disc);
      blue = Blend(blue, 60, disc);
      const double bar = Coverage(std::min({x - barLeft, barRight - x, y - barTop}));
      red = Blend(red, 200, bar);
      green = Blend(green, 200, bar);
      blue = Blend(blue, 200, bar);
      const auto alpha = static_cast<uint8_t>(255 * (x + y) / (width + height));
      image.Put(x, y, static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue),
                alpha);
    }
  }
}

std::vector<uint8_t> TopDown(const render::ImageBuffer& image) {
  std::vector<uint8_t> bytes;
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) {
      const auto pixel = image.Pixel(x, y);
      bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
  }
  return bytes;
}

std::vector<uint8_t> Crop(const std::vector<uint8_t>& topDown, int32_t fromWidth, int32_t width,
                          int32_t height) {
  std::vector<uint8_t> bytes;
  for (int32_t y = 0; y < height; ++y) {
    const auto row = topDown.begin() + static_cast<ptrdiff_t>(y) * fromWidth * 4;
    bytes.insert(bytes.end(), row, row + static_cast<ptrdiff_t>(width) * 4);
  }
  return bytes;
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double squares = 0;
  size_t samples = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (i % 4 == 3) continue;
    const double difference = static_cast<double>(a[i]) - static_cast<double>(b[i]);
    squares += difference * difference;
    ++samples;
  }
  if (squares == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 / (squares / static_cast<double>(samples)));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace lumetra::animation::testing
