#pragma once

// For the AVI tests: test pictures, and the files read back with FFmpeg's own tools.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "render/image_buffer.h"

namespace lumetra::animation::testing {

bool HaveFfmpegTools();

// The four-character code of `letters` (four of them; "\0\0\0\0" is no compressor).
uint32_t Code(const char* letters);

// ffprobe's entries for the file's video stream: codec_name, codec_tag_string,
// r_frame_rate, avg_frame_rate, nb_frames, width, height. Empty when ffprobe could not
// read the file.
std::map<std::string, std::string> ProbeStream(const std::filesystem::path& file);

struct ProbedPacket {
  int64_t position;  // the decoding time stamp, which counts frame positions in an AVI
  bool key;
};
// The stream's packets as ffprobe reads them (empty chunks are skipped).
std::vector<ProbedPacket> ProbePackets(const std::filesystem::path& file);

// Every frame ffmpeg decodes from the file, each as blue, green, red, alpha bytes of
// width x height, top row first. Empty when ffmpeg failed.
std::vector<std::vector<uint8_t>> DecodeFrames(const std::filesystem::path& file, int32_t width,
                                               int32_t height);

// The sizes of the chunks the file's index lists, one a frame position.
std::vector<uint32_t> IndexedChunkSizes(const std::filesystem::path& file);
// Frames per second as the stream header stores them: rate, then scale.
std::pair<uint32_t, uint32_t> StreamRate(const std::filesystem::path& file);
// The main header's bytes per second.
uint32_t MaxBytesPerSecond(const std::filesystem::path& file);

// A picture with structure: gradients, a disc and a bar that move with `variant`,
// alpha a gradient of its own.
void PaintTestPicture(render::ImageBuffer& image, int variant);
// The image as blue, green, red, alpha bytes, top row first.
std::vector<uint8_t> TopDown(const render::ImageBuffer& image);
// The `width` x `height` pixels at the top left of a top-down picture `fromWidth` wide.
std::vector<uint8_t> Crop(const std::vector<uint8_t>& topDown, int32_t fromWidth, int32_t width,
                          int32_t height);

// Peak signal-to-noise ratio over blue, green and red (alpha left out), in dB; infinity
// for identical pictures.
double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

std::vector<uint8_t> ReadFile(const std::filesystem::path& file);

}  // namespace lumetra::animation::testing
