#include "image/image_writer_file.h"

#include <cerrno>
#include <cstring>

#include "image/image_writer.h"
#include "platform/byte_reader.h"

namespace lumetra::image {

void WriteBytes(std::FILE* file, const void* data, size_t size) {
  if (size > 0 && std::fwrite(data, 1, size, file) != size) {
    throw ImageWriteError(std::string("write failed: ") + std::strerror(errno));
  }
}

void WriteU16(std::FILE* file, uint32_t value) {
  const auto bytes = platform::StoreBytes<2>(value, platform::ByteOrder::kLittle);
  WriteBytes(file, bytes.data(), bytes.size());
}

void WriteU32(std::FILE* file, uint32_t value) {
  const auto bytes = platform::StoreBytes<4>(value, platform::ByteOrder::kLittle);
  WriteBytes(file, bytes.data(), bytes.size());
}

}  // namespace lumetra::image
