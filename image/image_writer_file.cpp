#include "image/image_writer_file.h"

#include <cerrno>
#include <cstring>

#include "image/image_writer.h"

namespace image {

void WriteBytes(std::FILE* file, const void* data, size_t size) {
  if (size > 0 && std::fwrite(data, 1, size, file) != size) {
    throw ImageWriteError(std::string("write failed: ") + std::strerror(errno));
  }
}

void WriteU16(std::FILE* file, uint32_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  WriteBytes(file, bytes, sizeof bytes);
}

void WriteU32(std::FILE* file, uint32_t value) {
  WriteU16(file, value & 0xFFFF);
  WriteU16(file, value >> 16);
}

}  // namespace image
