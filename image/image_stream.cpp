#include "image/image_stream.h"

#include "image/image_load_exception.h"

namespace lumetra::image {

ImageStream::ImageStream(std::FILE* file, std::string prematureEofMessage)
    : file_(file), prematureEofMessage_(std::move(prematureEofMessage)) {
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long end = std::ftell(file_);
    if (end > 0) size_ = static_cast<uint64_t>(end);
  }
  Rewind();
}

void ImageStream::Rewind() {
  if (std::fseek(file_, 0, SEEK_SET) != 0) PrematureEof();
}

uint64_t ImageStream::Position() const {
  const long position = std::ftell(file_);
  return position < 0 ? size_ : static_cast<uint64_t>(position);
}

uint64_t ImageStream::Remaining() const {
  const uint64_t position = Position();
  return position < size_ ? size_ - position : 0;
}

bool ImageStream::TryRead(void* data, size_t size) { return std::fread(data, 1, size, file_) == size; }

void ImageStream::Read(void* data, size_t size) {
  if (!TryRead(data, size)) PrematureEof();
}

void ImageStream::Skip(uint64_t size) {
  if (size > Remaining()) PrematureEof();
  SeekTo(Position() + size);
}

void ImageStream::SeekTo(uint64_t position) {
  if (position > size_ || std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) PrematureEof();
}

uint8_t ImageStream::Byte() {
  const int value = std::getc(file_);
  if (value == EOF) PrematureEof();
  return static_cast<uint8_t>(value);
}

uint16_t ImageStream::U16() {
  uint8_t bytes[2];
  Read(bytes, sizeof bytes);
  return platform::LoadU16(bytes, platform::ByteOrder::kLittle);
}

uint32_t ImageStream::U32() {
  uint8_t bytes[4];
  Read(bytes, sizeof bytes);
  return platform::LoadU32(bytes, platform::ByteOrder::kLittle);
}

void ImageStream::PrematureEof() const { throw ImgLoadException(prematureEofMessage_); }

}  // namespace lumetra::image
