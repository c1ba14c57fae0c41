#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/byte_reader.h"

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

}  // namespace lumetra::image
