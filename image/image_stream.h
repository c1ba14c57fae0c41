#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace lumetra::image {

// Little-endian reads from an open image file; a read past the end raises an
// ImgLoadException with the reader's own end-of-file message.
class ImageStream {
 public:
  ImageStream(std::FILE* file, std::string prematureEofMessage);

  // Back to the first byte.
  void Rewind();
  uint64_t Size() const { return size_; }
  uint64_t Position() const;
  uint64_t Remaining() const;

  // False (and nothing consumed beyond the bytes read) when fewer than `size` bytes are left.
  bool TryRead(void* data, size_t size);
  void Read(void* data, size_t size);
  void Skip(uint64_t size);
  void SeekTo(uint64_t position);
  uint8_t Byte();
  uint16_t U16();
  uint32_t U32();

 private:
  [[noreturn]] void PrematureEof() const;

  std::FILE* file_;
  std::string prematureEofMessage_;
  uint64_t size_ = 0;
};

// Little-endian fields of an already read header.
inline uint16_t LittleU16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}
inline uint32_t LittleU32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace lumetra::image
