#include "image/bmp_reader.h"

#include <bit>
#include <cstring>
#include <vector>

#include "image/image_stream.h"

namespace lumetra::image {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kSmallestInfoHeader = 12;
constexpr uint32_t kLargestInfoHeader = 124;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;
constexpr uint32_t kMaxPaletteEntries = 256;

// The info header fields the reader uses, whatever the header's version.
struct InfoHeader {
  uint32_t size = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top-down
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = kCompressionNone;
  uint32_t coloursUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

InfoHeader ReadInfoHeader(ImageStream& in) {
  InfoHeader header;
  header.size = in.U32();
  if (header.size < kSmallestInfoHeader || header.size > kLargestInfoHeader) {
    throw ImgLoadException("Bad BMP info header size");
  }
  // Fields beyond a shorter header read as zero.
  uint8_t bytes[kLargestInfoHeader] = {};
  in.Read(bytes + 4, header.size - 4);
  platform::ByteReader fields(bytes, platform::ByteOrder::kLittle);
  fields.Skip(4);
  if (header.size == kSmallestInfoHeader) {
    header.width = fields.U16();
    header.height = fields.U16();
    header.planes = fields.U16();
    header.bitCount = fields.U16();
    return header;
  }
  header.width = fields.I32();
  header.height = fields.I32();
  header.planes = fields.U16();
  header.bitCount = fields.U16();
  header.compression = fields.U32();
  fields.Skip(12);  // image size and resolution
  header.coloursUsed = fields.U32();
  fields.Skip(4);  // important colours
  for (uint32_t& mask : header.masks) mask = fields.U32();
  return header;
}

void CheckHeader(const InfoHeader& header) {
  if (header.planes != 1) throw ImgLoadException("Bad BMP plane count");
  const uint16_t depth = header.bitCount;
  const bool depthOk = header.size == kSmallestInfoHeader
                           ? depth == 8 || depth == 24
                           : depth == 8 || depth == 16 || depth == 24 || depth == 32;
  if (!depthOk) throw ImgLoadException("Unsupported BMP bit depth");
  const bool bitFields =
      header.compression == kCompressionBitFields || header.compression == kCompressionAlphaBitFields;
  const bool rle8 = header.compression == kCompressionRle8 && depth == 8;
  if (header.compression != kCompressionNone && !rle8 && !(bitFields && (depth == 16 || depth == 32))) {
    throw ImgLoadException("Unsupported BMP compression");
  }
  if (header.width <= 0 || header.height == 0 || header.height < -INT32_MAX) {
    throw ImgLoadException("Bad BMP size");
  }
}

// Masks of a 16- or 32-bit image: from the header, from right after a 40-byte
// header, or the format's defaults.
void ResolveMasks(ImageStream& in, InfoHeader& header) {
  if (header.compression == kCompressionNone) {
    const bool sixteen = header.bitCount == 16;
    header.masks[0] = sixteen ? 0x7C00 : 0xFF0000;
    header.masks[1] = sixteen ? 0x03E0 : 0x00FF00;
    header.masks[2] = sixteen ? 0x001F : 0x0000FF;
    header.masks[3] = sixteen ? 0 : 0xFF000000;  // kept only when some pixel uses it
    return;
  }
  const uint32_t fieldsInHeader = header.size >= 56 ? 4 : header.size >= 52 ? 3 : 0;
  const uint32_t fieldsWanted = header.compression == kCompressionAlphaBitFields ? 4 : 3;
  for (uint32_t i = fieldsInHeader; i < fieldsWanted; ++i) header.masks[i] = in.U32();
  if (fieldsWanted == 3 && fieldsInHeader < 4) header.masks[3] = 0;
}

std::vector<uint8_t> ReadPalette(ImageStream& in, const InfoHeader& header) {
  const uint32_t entries = header.coloursUsed != 0 ? header.coloursUsed : kMaxPaletteEntries;
  if (entries > kMaxPaletteEntries) throw ImgLoadException("Bad BMP palette size");
  const size_t entrySize = header.size == kSmallestInfoHeader ? 3 : 4;
  std::vector<uint8_t> raw(entries * entrySize);
  in.Read(raw.data(), raw.size());
  std::vector<uint8_t> palette;
  palette.reserve(entries * 3);
  for (size_t i = 0; i < raw.size(); i += entrySize) palette.insert(palette.end(), &raw[i], &raw[i] + 3);
  return palette;
}

// One channel of a bit-field pixel, widened or narrowed to 8 bits.
uint8_t Channel(uint32_t pixel, uint32_t mask, uint8_t absent) {
  if (mask == 0) return absent;
  const uint32_t value = (pixel & mask) >> std::countr_zero(mask);
  const int bits = std::popcount(mask >> std::countr_zero(mask));
  if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
  return static_cast<uint8_t>(value * 255 / ((1u << bits) - 1));
}

void ExpandBitFields(const uint8_t* source, uint8_t* target, int32_t width, const InfoHeader& header) {
  const int bytes = header.bitCount / 8;
  for (int32_t x = 0; x < width; ++x, source += bytes, target += 4) {
    const uint32_t pixel =
        platform::LoadBytes(source, static_cast<std::size_t>(bytes), platform::ByteOrder::kLittle);
    target[0] = Channel(pixel, header.masks[2], 0);
    target[1] = Channel(pixel, header.masks[1], 0);
    target[2] = Channel(pixel, header.masks[0], 0);
    target[3] = Channel(pixel, header.masks[3], 255);
  }
}

// Run-length 8-bit data: runs, literal runs padded to 16 bits, and the escapes for end
// of line, end of image and a jump. Pixels the data never reaches stay index 0.
void DecodeRle8(const std::vector<uint8_t>& data, Image& image) {
  int64_t x = 0;
  int64_t row = 0;
  const int64_t width = image.Width();
  const int64_t height = image.Height();
  auto put = [&](uint8_t index) {
    if (x < width && row < height) image.Row(static_cast<int32_t>(row))[x] = index;
    ++x;
  };
  size_t at = 0;
  while (at + 1 < data.size() && row < height) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(value);
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (at + 1 >= data.size()) break;
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {
      if (at + value > data.size()) break;
      for (int i = 0; i < value; ++i) put(data[at + i]);
      at += (value + 1u) & ~1u;
    }
  }
}

void ReadRle8Pixels(ImageStream& in, const InfoHeader& header, uint32_t dataOffset, Image& image,
                    const ImageLimits& limits) {
  if (dataOffset > in.Size()) throw ImgLoadException("Premature EOF in BMP file");
  const auto height = static_cast<int32_t>(header.height < 0 ? -header.height : header.height);
  // A run of two bytes covers at most 255 pixels.
  const uint64_t pixels = static_cast<uint64_t>(header.width) * static_cast<uint64_t>(height);
  const uint64_t bytes = in.Size() - dataOffset;
  if (pixels > (bytes / 2 + 1) * 255 + static_cast<uint64_t>(height) * 255) {
    throw ImgLoadException("Premature EOF in BMP file");
  }
  image.Allocate(static_cast<int32_t>(header.width), height, 1, limits);
  image.layoutFlags = header.height > 0 ? kRowsBottomUp : 0;
  in.SeekTo(dataOffset);
  std::vector<uint8_t> data(bytes);
  in.Read(data.data(), data.size());
  DecodeRle8(data, image);
}

void ReadPixels(ImageStream& in, const InfoHeader& header, uint32_t dataOffset, Image& image,
                const ImageLimits& limits) {
  const auto width = static_cast<int32_t>(header.width);
  const auto height = static_cast<int32_t>(header.height < 0 ? -header.height : header.height);
  const uint64_t stride = (static_cast<uint64_t>(width) * header.bitCount + 31) / 32 * 4;
  if (dataOffset > in.Size() || stride * static_cast<uint64_t>(height) > in.Size() - dataOffset) {
    throw ImgLoadException("Premature EOF in BMP file");
  }
  const bool direct = header.bitCount == 8 || header.bitCount == 24;
  image.Allocate(width, height, direct ? header.bitCount / 8 : 4, limits);
  image.layoutFlags = header.height > 0 ? kRowsBottomUp : 0;
  in.SeekTo(dataOffset);
  std::vector<uint8_t> row(stride);
  for (int32_t y = 0; y < height; ++y) {
    in.Read(row.data(), row.size());
    if (direct) {
      std::memcpy(image.Row(y), row.data(), static_cast<size_t>(width) * (header.bitCount / 8));
    } else {
      ExpandBitFields(row.data(), image.Row(y), width, header);
    }
  }
}

void DecodeBmp(ImageStream& in, uint32_t dataOffset, Image& image, const ImageLimits& limits) {
  InfoHeader header = ReadInfoHeader(in);
  CheckHeader(header);
  std::vector<uint8_t> palette;
  if (header.bitCount == 8) {
    palette = ReadPalette(in, header);
  } else if (header.bitCount != 24) {
    ResolveMasks(in, header);
  }
  if (header.compression == kCompressionRle8) {
    ReadRle8Pixels(in, header, dataOffset, image, limits);
  } else {
    ReadPixels(in, header, dataOffset, image, limits);
  }
  if (header.bitCount == 8) {
    image.pixelKind = kPaletteIndex;
    image.SetPalette(std::move(palette));
  } else if (header.bitCount == 24 || header.masks[3] == 0) {
    image.pixelKind = kPackedColour;
  } else {
    image.TreatEmptyAlphaAsOpaque();
  }
}

}  // namespace

ReadResult ReadBmp(std::FILE* file, Image& image, const ImageLimits& limits) {
  ImageStream in(file, "Premature EOF in BMP file");
  uint8_t fileHeader[kFileHeaderSize];
  if (!in.TryRead(fileHeader, sizeof fileHeader) || std::memcmp(fileHeader, "BM", 2) != 0) {
    return ReadResult::NotThisFormat("Not a BMP file");
  }
  const uint32_t dataOffset = platform::LoadU32(fileHeader + 10, platform::ByteOrder::kLittle);
  return DecodeInto(image, [&](Image& decoded) { DecodeBmp(in, dataOffset, decoded, limits); });
}

}  // namespace lumetra::image
