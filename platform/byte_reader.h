#pragma once

// Integers in either byte order, from bytes in memory: one reader for the file formats
// (keyframe chunks, pictures, fonts).

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

namespace lumetra::platform {

enum class ByteOrder { kLittle, kBig };

// The unsigned integer in the `count` (1 to 4) bytes at `bytes`.
constexpr std::uint32_t LoadBytes(const std::uint8_t* bytes, std::size_t count, ByteOrder order) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    value = value << 8 | bytes[order == ByteOrder::kBig ? i : count - 1 - i];
  }
  return value;
}

constexpr std::uint16_t LoadU16(const std::uint8_t* bytes, ByteOrder order) {
  return static_cast<std::uint16_t>(LoadBytes(bytes, 2, order));
}

constexpr std::uint32_t LoadU32(const std::uint8_t* bytes, ByteOrder order) {
  return LoadBytes(bytes, 4, order);
}

// The low `count` bytes of `value` in `order`, for the writers of the same formats.
template <std::size_t count>
constexpr std::array<std::uint8_t, count> StoreBytes(std::uint32_t value, ByteOrder order) {
  static_assert(count >= 1 && count <= 4);
  std::array<std::uint8_t, count> bytes{};
  for (std::size_t i = 0; i < count; ++i) {
    bytes[order == ByteOrder::kLittle ? i : count - 1 - i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return bytes;
}

// Walks a block of bytes in one byte order. Every read is checked against the block's
// end first: a read that would pass it calls `onShort` with the position and the bytes
// needed, which throws the format's own error (naming the file and the place); without
// one, or when it returns, std::out_of_range is thrown. Nothing is consumed by a
// refused read.
class ByteReader {
 public:
  using ShortHandler = std::function<void(std::size_t position, std::size_t needed)>;

  ByteReader(std::span<const std::uint8_t> bytes, ByteOrder order, ShortHandler onShort = {})
      : bytes_(bytes), order_(order), onShort_(std::move(onShort)) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return Take(4); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  void Skip(std::size_t count) {
    Need(count);
    position_ += count;
  }
  void Seek(std::size_t position) {
    if (position > bytes_.size()) Short(0, position);
    position_ = position;
  }

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }

  // Fails as a read would unless `count` more bytes follow; checked before sizing an
  // array by a count read from the data.
  void Need(std::size_t count) const {
    if (count > Remaining()) Short(position_, count);
  }

 private:
  std::uint32_t Take(std::size_t count) {
    Need(count);
    const std::uint32_t value = LoadBytes(bytes_.data() + position_, count, order_);
    position_ += count;
    return value;
  }

  [[noreturn]] void Short(std::size_t at, std::size_t needed) const {
    if (onShort_) onShort_(at, needed);
    throw std::out_of_range(std::to_string(needed) + " bytes needed at offset " + std::to_string(at) +
                            ", the data ends at " + std::to_string(bytes_.size()));
  }

  std::span<const std::uint8_t> bytes_;
  ByteOrder order_;
  ShortHandler onShort_;
  std::size_t position_ = 0;
};

}  // namespace lumetra::platform
