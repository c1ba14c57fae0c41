#include "image/gif_reader.h"

#include <array>
#include <cstring>
#include <vector>

#include "image/image_stream.h"

namespace lumetra::image {
namespace {

constexpr char kBadImage[] = "Bad GIF Image";
constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

// Colour tables are read red, green, blue and kept blue, green, red.
std::vector<uint8_t> ReadColourTable(ImageStream& in, uint8_t flags) {
  const int entries = 2 << (flags & 7);
  std::vector<uint8_t> table(static_cast<size_t>(entries) * 3);
  in.Read(table.data(), table.size());
  for (size_t i = 0; i < table.size(); i += 3) std::swap(table[i], table[i + 2]);
  return table;
}

void SkipSubBlocks(ImageStream& in) {
  for (uint8_t size = in.Byte(); size != 0; size = in.Byte()) in.Skip(size);
}

// The code stream packed least significant bit first across the data sub-blocks.
class CodeReader {
 public:
  explicit CodeReader(ImageStream& in) : in_(in) {}

  // False once the sub-blocks are used up.
  bool Next(int width, int& code) {
    while (bitCount_ < width) {
      if (position_ == size_ && !NextBlock()) return false;
      bits_ |= static_cast<uint32_t>(block_[position_++]) << bitCount_;
      bitCount_ += 8;
    }
    code = static_cast<int>(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return true;
  }

 private:
  bool NextBlock() {
    if (ended_) return false;
    size_ = in_.Byte();
    position_ = 0;
    if (size_ == 0) {
      ended_ = true;
      return false;
    }
    in_.Read(block_.data(), size_);
    return true;
  }

  ImageStream& in_;
  std::array<uint8_t, 255> block_{};
  size_t size_ = 0;
  size_t position_ = 0;
  uint32_t bits_ = 0;
  int bitCount_ = 0;
  bool ended_ = false;
};

// Image row of the `decoded`-th row of an interlaced image of `height` rows.
int32_t InterlacedRow(int32_t decoded, int32_t height) {
  const int32_t pass1 = (height + 7) / 8;
  const int32_t pass2 = (height + 3) / 8;
  const int32_t pass3 = (height + 1) / 4;
  if (decoded < pass1) return decoded * 8;
  decoded -= pass1;
  if (decoded < pass2) return 4 + decoded * 8;
  decoded -= pass2;
  if (decoded < pass3) return 2 + decoded * 4;
  return 1 + (decoded - pass3) * 2;
}

// Writes decoded indices into the image row by row.
class PixelPlacer {
 public:
  PixelPlacer(Image& image, bool interlaced) : image_(image), interlaced_(interlaced) { StartRow(); }

  bool Full() const { return row_ >= image_.Height(); }
  void Put(uint8_t index) {
    target_[column_] = index;
    if (++column_ == image_.Width()) {
      column_ = 0;
      ++row_;
      if (!Full()) StartRow();
    }
  }

 private:
  void StartRow() { target_ = image_.Row(interlaced_ ? InterlacedRow(row_, image_.Height()) : row_); }

  Image& image_;
  bool interlaced_;
  int32_t row_ = 0;
  int32_t column_ = 0;
  uint8_t* target_ = nullptr;
};

// LZW decoding with the GIF variable code width; stops at the end code, when the
// data runs out or when the image is full.
class LzwDecoder {
 public:
  explicit LzwDecoder(int minCodeSize) : minCodeSize_(minCodeSize), clear_(1 << minCodeSize) {
    for (int code = 0; code < clear_; ++code) suffix_[code] = static_cast<uint8_t>(code);
    Reset();
  }

  void Decode(CodeReader& codes, PixelPlacer& out) {
    int code = 0;
    while (!out.Full() && codes.Next(width_, code)) {
      if (code == clear_) {
        Reset();
      } else if (code == clear_ + 1) {
        return;
      } else {
        Emit(code, out);
      }
    }
  }

 private:
  void Reset() {
    width_ = minCodeSize_ + 1;
    next_ = clear_ + 2;
    previous_ = -1;
  }

  void Emit(int code, PixelPlacer& out) {
    if (previous_ < 0) {
      if (code > clear_) throw ImgLoadException(kBadImage);
      first_ = static_cast<uint8_t>(code);
      previous_ = code;
      out.Put(first_);
      return;
    }
    if (code > next_ || code == kMaxCodes) throw ImgLoadException(kBadImage);
    const int incoming = code;
    size_t depth = 0;
    if (code == next_) {
      stack_[depth++] = first_;
      code = previous_;
    }
    // Every entry's prefix is an older code, so the walk ends at a literal.
    while (code > clear_) {
      stack_[depth++] = suffix_[code];
      code = prefix_[code];
    }
    first_ = suffix_[code];
    stack_[depth++] = first_;
    AddEntry();
    previous_ = incoming;
    while (depth > 0 && !out.Full()) out.Put(stack_[--depth]);
  }

  void AddEntry() {
    if (next_ >= kMaxCodes) return;
    prefix_[next_] = static_cast<uint16_t>(previous_);
    suffix_[next_] = first_;
    ++next_;
    if (next_ == (1 << width_) && width_ < kMaxCodeWidth) ++width_;
  }

  int minCodeSize_;
  int clear_;
  int width_ = 0;
  int next_ = 0;
  int previous_ = -1;
  uint8_t first_ = 0;
  std::array<uint16_t, kMaxCodes> prefix_{};
  std::array<uint8_t, kMaxCodes> suffix_{};
  std::array<uint8_t, kMaxCodes> stack_{};
};

// Skips extensions up to the image descriptor.
void FindImage(ImageStream& in) {
  for (;;) {
    const uint8_t block = in.Byte();
    if (block == kImageSeparator) return;
    if (block == kTrailer) throw ImgLoadException(kBadImage);
    if (block == kExtension) {
      in.Byte();  // label
      SkipSubBlocks(in);
    }
  }
}

void DecodeImage(ImageStream& in, std::vector<uint8_t> palette, Image& image, const ImageLimits& limits) {
  FindImage(in);
  uint8_t descriptor[9];
  if (!in.TryRead(descriptor, sizeof descriptor)) throw ImgLoadException(kBadImage);
  const int32_t width = platform::LoadU16(descriptor + 4, platform::ByteOrder::kLittle);
  const int32_t height = platform::LoadU16(descriptor + 6, platform::ByteOrder::kLittle);
  const uint8_t flags = descriptor[8];
  if ((flags & 0x80) != 0) palette = ReadColourTable(in, flags);
  const int minCodeSize = in.Byte();
  if (minCodeSize < 2 || minCodeSize >= kMaxCodeWidth) throw ImgLoadException(kBadImage);
  // No code is shorter than 3 bits nor expands to more than 4096 pixels.
  const uint64_t mostPixels = (in.Remaining() * 8 / 3 + 1) * kMaxCodes;
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > mostPixels) {
    throw ImgLoadException(kBadImage);
  }

  image.Allocate(width, height, 1, limits);
  image.pixelKind = palette.empty() ? kPackedColour : kPaletteIndex;
  image.SetPalette(std::move(palette));
  CodeReader codes(in);
  PixelPlacer placer(image, (flags & 0x40) != 0);
  LzwDecoder(minCodeSize).Decode(codes, placer);
}

}  // namespace

ReadResult ReadGif(std::FILE* file, Image& image, const ImageLimits& limits) {
  ImageStream in(file, "Premature EOF in GIF file");
  uint8_t header[6];
  if (!in.TryRead(header, sizeof header)) return ReadResult::NotThisFormat("Bad GIF Header");
  if (std::memcmp(header, "GIF", 3) != 0) return ReadResult::NotThisFormat("Not a GIF file");
  return DecodeInto(image, [&](Image& decoded) {
    uint8_t screen[7];
    if (!in.TryRead(screen, sizeof screen)) throw ImgLoadException("Bad Logical Screen Descriptor");
    std::vector<uint8_t> palette;
    if ((screen[4] & 0x80) != 0) palette = ReadColourTable(in, screen[4]);
    DecodeImage(in, std::move(palette), decoded, limits);
  });
}

}  // namespace lumetra::image
