#include "keyframe/chunk_stream.h"

#include <bit>

#include "platform/byte_reader.h"

namespace lumetra::keyframe {

void ChunkWriter::Bytes(const uint8_t* bytes, uint32_t count) {
  if (write_(stream_, bytes, count) != static_cast<int32_t>(count)) {
    throw ChunkFormatError("the scene file did not take the keyframe data");
  }
}

void ChunkWriter::U8(uint8_t value) { Bytes(&value, 1); }

void ChunkWriter::U32(uint32_t value) {
  const auto bytes = platform::StoreBytes<4>(value, platform::ByteOrder::kLittle);
  Bytes(bytes.data(), 4);
}

void ChunkWriter::Double(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  U32(static_cast<uint32_t>(bits));
  U32(static_cast<uint32_t>(bits >> 32));
}

void ChunkWriter::String(const std::string& text) {
  U32(static_cast<uint32_t>(text.size()));
  if (!text.empty()) Bytes(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
}

void ChunkReader::Bytes(uint8_t* bytes, uint32_t count) {
  if (read_(stream_, bytes, count) != static_cast<int32_t>(count)) {
    throw ChunkFormatError("the keyframe data ends early");
  }
}

uint8_t ChunkReader::U8() {
  uint8_t value = 0;
  Bytes(&value, 1);
  return value;
}

uint32_t ChunkReader::U32() {
  uint8_t b[4] = {};
  Bytes(b, 4);
  return platform::LoadU32(b, platform::ByteOrder::kLittle);
}

double ChunkReader::Double() {
  const uint64_t low = U32();
  const uint64_t high = U32();
  return std::bit_cast<double>(low | high << 32);
}

std::string ChunkReader::String(uint32_t maxLength) {
  const uint32_t length = Count(maxLength, "string bytes");
  std::string text(length, '\0');
  if (length) Bytes(reinterpret_cast<uint8_t*>(text.data()), length);
  return text;
}

uint32_t ChunkReader::Count(uint32_t maxCount, const char* what) {
  const uint32_t count = U32();
  if (count > maxCount) {
    throw ChunkFormatError("the keyframe data claims " + std::to_string(count) + " " + what + ", more than " +
                           std::to_string(maxCount));
  }
  return count;
}

}  // namespace lumetra::keyframe
