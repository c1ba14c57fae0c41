#include "image/tga_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/image_stream.h"

namespace lumetra::image {
namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kRunLengthBit = 8;  // image types 9, 10, 11
constexpr uint8_t kTypeColourMapped = 1;
constexpr uint8_t kTypeTrueColour = 2;
constexpr uint8_t kTypeGrey = 3;
constexpr uint8_t kDescriptorAlphaBits = 0x0F;
constexpr uint8_t kDescriptorRightToLeft = 0x10;
constexpr uint8_t kDescriptorTopDown = 0x20;
constexpr int kMaxPaletteEntries = 256;
constexpr uint32_t kMaxRun = 128;

struct Header {
  uint8_t idLength;
  uint8_t colourMapType;
  uint8_t baseType;  // 1, 2 or 3, with or without run-length encoding
  bool runLength;
  uint16_t mapFirst;
  uint16_t mapLength;
  uint8_t mapEntryBits;
  int32_t width;
  int32_t height;
  uint8_t depth;
  uint8_t descriptor;
};

Header ParseHeader(std::span<const uint8_t, kHeaderSize> bytes) {
  platform::ByteReader fields(bytes, platform::ByteOrder::kLittle);
  Header header{};
  header.idLength = fields.U8();
  header.colourMapType = fields.U8();
  const uint8_t type = fields.U8();
  header.baseType = type & ~kRunLengthBit;
  header.runLength = (type & kRunLengthBit) != 0;
  header.mapFirst = fields.U16();
  header.mapLength = fields.U16();
  header.mapEntryBits = fields.U8();
  fields.Skip(4);  // origin
  header.width = fields.U16();
  header.height = fields.U16();
  header.depth = fields.U8();
  header.descriptor = fields.U8();
  return header;
}

bool IsTgaHeader(const uint8_t* bytes) {
  const uint8_t type = bytes[2];
  const bool knownType = (type >= 1 && type <= 3) || (type >= 9 && type <= 11);
  const uint8_t depth = bytes[16];
  return knownType && bytes[1] <= 1 && (depth == 8 || depth == 16 || depth == 24 || depth == 32);
}

void CheckHeader(const Header& header) {
  const bool mapped = header.baseType == kTypeColourMapped;
  if (mapped && (header.colourMapType != 1 || header.depth != 8)) {
    throw ImgLoadException("Unsupported TGA colour map");
  }
  if (header.baseType == kTypeTrueColour && header.depth == 8) throw ImgLoadException("Bad TGA pixel depth");
  if (header.baseType == kTypeGrey && header.depth > 16) throw ImgLoadException("Bad TGA pixel depth");
  const uint8_t bits = header.mapEntryBits;
  if (header.colourMapType == 1 && bits != 15 && bits != 16 && bits != 24 && bits != 32) {
    throw ImgLoadException("Bad TGA colour map entry size");
  }
}

// A colour-map entry of 15/16, 24 or 32 bits as blue, green, red.
void MapEntryToBgr(const uint8_t* entry, uint8_t bits, uint8_t* bgr) {
  if (bits <= 16) {
    const uint16_t value = platform::LoadU16(entry, platform::ByteOrder::kLittle);
    bgr[0] = static_cast<uint8_t>((value & 31) << 3);
    bgr[1] = static_cast<uint8_t>(((value >> 5) & 31) << 3);
    bgr[2] = static_cast<uint8_t>(((value >> 10) & 31) << 3);
  } else {
    std::memcpy(bgr, entry, 3);
  }
}

// Palette indexed by pixel value: entries before the map's first index stay black.
std::vector<uint8_t> ReadColourMap(ImageStream& in, const Header& header) {
  const size_t entryBytes = (header.mapEntryBits + 7) / 8;
  std::vector<uint8_t> raw(header.mapLength * entryBytes);
  in.Read(raw.data(), raw.size());
  const int entries = std::min(kMaxPaletteEntries, header.mapFirst + header.mapLength);
  std::vector<uint8_t> palette(static_cast<size_t>(std::max(entries, 0)) * 3, 0);
  for (int index = header.mapFirst; index < entries; ++index) {
    MapEntryToBgr(&raw[(index - header.mapFirst) * entryBytes], header.mapEntryBits, &palette[index * 3]);
  }
  return palette;
}

void ReadRunLengthPixels(ImageStream& in, uint8_t* out, uint64_t pixels, size_t pixelBytes) {
  while (pixels > 0) {
    const uint8_t packet = in.Byte();
    const uint64_t count = std::min<uint64_t>((packet & 0x7F) + 1u, pixels);
    if ((packet & 0x80) != 0) {
      in.Read(out, pixelBytes);
      for (uint64_t i = 1; i < count; ++i) std::memcpy(out + i * pixelBytes, out, pixelBytes);
    } else {
      in.Read(out, count * pixelBytes);
    }
    out += count * pixelBytes;
    pixels -= count;
  }
}

void CheckEnoughData(const ImageStream& in, const Header& header, size_t pixelBytes) {
  const uint64_t pixels = static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.height);
  // A run packet of 1 + pixelBytes bytes covers at most 128 pixels.
  const uint64_t available = in.Remaining();
  const bool enough = header.runLength ? pixels <= (available / (1 + pixelBytes) + 1) * kMaxRun
                                       : pixels * pixelBytes <= available;
  if (!enough) throw ImgLoadException("Premature EOF in TGA file");
}

// Grey and alpha byte pairs become blue, green, red, alpha.
void ExpandGreyAlpha(Image& image, const ImageLimits& limits) {
  Image expanded;
  expanded.Allocate(image.Width(), image.Height(), 4, limits);
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint8_t* source = image.Row(y);
    uint8_t* target = expanded.Row(y);
    for (int32_t x = 0; x < image.Width(); ++x, source += 2, target += 4) {
      target[0] = target[1] = target[2] = source[0];
      target[3] = source[1];
    }
  }
  expanded.pixelKind = kPackedColourAlpha;
  image = std::move(expanded);
}

void MirrorRows(Image& image) {
  const int32_t bytes = image.BytesPerPixel();
  for (int32_t y = 0; y < image.Height(); ++y) {
    uint8_t* row = image.Row(y);
    for (int32_t left = 0, right = image.Width() - 1; left < right; ++left, --right) {
      std::swap_ranges(row + left * bytes, row + (left + 1) * bytes, row + right * bytes);
    }
  }
}

void SetPixelKind(const Header& header, Image& image) {
  const bool alphaDeclared = (header.descriptor & kDescriptorAlphaBits) != 0;
  if (header.baseType == kTypeColourMapped) {
    image.pixelKind = kPaletteIndex;
  } else if (header.baseType == kTypeGrey && header.depth == 16) {
    image.pixelKind = kPackedColourAlpha;
  } else if (header.baseType == kTypeGrey) {
    image.pixelKind = kSingleByte;
  } else if (header.depth == 32 && alphaDeclared) {
    image.pixelKind = kPackedColourAlpha;
  } else if (header.depth == 32) {
    image.TreatEmptyAlphaAsOpaque();
  } else {
    image.pixelKind = kPackedColour;
  }
}

void DecodeTga(ImageStream& in, const Header& header, Image& image, const ImageLimits& limits) {
  CheckHeader(header);
  in.Skip(header.idLength);
  std::vector<uint8_t> palette;
  if (header.baseType == kTypeColourMapped) {
    palette = ReadColourMap(in, header);
  } else if (header.colourMapType == 1) {
    in.Skip(static_cast<uint64_t>(header.mapLength) * ((header.mapEntryBits + 7) / 8));
  }
  const size_t pixelBytes = header.depth / 8;
  CheckEnoughData(in, header, pixelBytes);
  image.Allocate(header.width, header.height, static_cast<int32_t>(pixelBytes), limits);
  // Rows are contiguous, so the whole image is read as one pixel stream.
  const uint64_t pixels = static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.height);
  if (header.runLength) {
    ReadRunLengthPixels(in, image.Row(0), pixels, pixelBytes);
  } else {
    in.Read(image.Row(0), pixels * pixelBytes);
  }
  if ((header.descriptor & kDescriptorRightToLeft) != 0) MirrorRows(image);
  if (header.baseType == kTypeGrey && header.depth == 16) ExpandGreyAlpha(image, limits);
  image.layoutFlags = (header.descriptor & kDescriptorTopDown) != 0 ? 0 : kRowsBottomUp;
  image.SetPalette(std::move(palette));
  SetPixelKind(header, image);
}

}  // namespace

ReadResult ReadTga(std::FILE* file, Image& image, const ImageLimits& limits) {
  ImageStream in(file, "Premature EOF in TGA file");
  uint8_t bytes[kHeaderSize];
  if (!in.TryRead(bytes, sizeof bytes) || !IsTgaHeader(bytes))
    return ReadResult::NotThisFormat("Not a TGA file");
  return DecodeInto(image, [&](Image& decoded) { DecodeTga(in, ParseHeader(bytes), decoded, limits); });
}

}  // namespace lumetra::image
