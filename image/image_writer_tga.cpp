#include <cstring>
#include <vector>

#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"

namespace lumetra::image {
namespace {

constexpr int32_t kMaxSide = 65535;
constexpr int32_t kMaxPacket = 128;
constexpr uint8_t kImageTypeTrueColour = 2;
constexpr uint8_t kImageTypeRunLength = 10;

bool SamePixel(const uint8_t* row, int32_t a, int32_t b) {
  return std::memcmp(row + a * 4, row + b * 4, 4) == 0;
}

// Identical pixels from `x` on, at most one packet's worth, within the row.
int32_t RunLength(const uint8_t* row, int32_t width, int32_t x) {
  int32_t length = 1;
  while (x + length < width && length < kMaxPacket && SamePixel(row, x, x + length)) ++length;
  return length;
}

// Packets of one row: repeats for runs of two or more pixels, raw packets between them.
void AppendRowPackets(const uint8_t* row, int32_t width, std::vector<uint8_t>& out) {
  int32_t x = 0;
  while (x < width) {
    const int32_t run = RunLength(row, width, x);
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      out.insert(out.end(), row + x * 4, row + x * 4 + 4);
      x += run;
      continue;
    }
    int32_t count = 1;
    while (x + count < width && count < kMaxPacket && RunLength(row, width, x + count) < 2) ++count;
    out.push_back(static_cast<uint8_t>(count - 1));
    out.insert(out.end(), row + x * 4, row + (x + count) * 4);
    x += count;
  }
}

}  // namespace

void WriteTga(std::FILE* file, const BgraPicture& picture, bool runLength) {
  if (picture.width > kMaxSide || picture.height > kMaxSide) {
    throw ImageWriteError("TGA images are at most 65535 pixels wide and high");
  }
  const uint8_t start[3] = {0, 0, runLength ? kImageTypeRunLength : kImageTypeTrueColour};
  WriteBytes(file, start, sizeof start);
  const uint8_t colourMapAndOrigin[9] = {};
  WriteBytes(file, colourMapAndOrigin, sizeof colourMapAndOrigin);
  WriteU16(file, static_cast<uint32_t>(picture.width));
  WriteU16(file, static_cast<uint32_t>(picture.height));
  const uint8_t depthAndDescriptor[2] = {32, 0};  // origin at the bottom left
  WriteBytes(file, depthAndDescriptor, sizeof depthAndDescriptor);
  if (!runLength) {
    WriteBytes(file, picture.bottomUpBgra.data(), picture.bottomUpBgra.size());
    return;
  }
  const size_t rowBytes = static_cast<size_t>(picture.width) * 4;
  std::vector<uint8_t> packets;
  for (int32_t row = 0; row < picture.height; ++row) {
    packets.clear();
    AppendRowPackets(picture.bottomUpBgra.data() + row * rowBytes, picture.width, packets);
    WriteBytes(file, packets.data(), packets.size());
  }
}

}  // namespace lumetra::image
