#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "font/font_file.h"

namespace lumetra::font {

// Walks a block read from a font file; every read is checked against the
// block's end, and errors name the block and the position in the file.
class BigEndianReader {
 public:
  BigEndianReader(std::span<const std::uint8_t> bytes, std::uint64_t fileOffset, const char* what)
      : bytes_(bytes), fileOffset_(fileOffset), what_(what) {}

  std::uint8_t U8() {
    Need(1);
    return bytes_[position_++];
  }
  std::uint16_t U16() {
    Need(2);
    const std::uint16_t value = static_cast<std::uint16_t>(bytes_[position_] << 8 | bytes_[position_ + 1]);
    position_ += 2;
    return value;
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    const std::uint32_t high = U16();
    return high << 16 | U16();
  }
  void Skip(std::size_t count) {
    Need(count);
    position_ += count;
  }
  void Seek(std::size_t position) {
    position_ = 0;
    Skip(position);
  }

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }

  // Throws unless count more bytes follow; checked before sizing an array by a count.
  void Need(std::size_t count) const {
    if (count > Remaining()) {
      throw FontFormatError("the " + std::string(what_) + " ends at offset " +
                            std::to_string(fileOffset_ + bytes_.size()) + ", " +
                            std::to_string(count) + " bytes needed at offset " +
                            std::to_string(fileOffset_ + position_));
    }
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t fileOffset_;
  const char* what_;
  std::size_t position_ = 0;
};

}  // namespace lumetra::font
