#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "abi/scene_record.h"

namespace lumetra::keyframe {

// Keyframe data in the scene file that cannot be read: it ends early or holds a
// count beyond what it can carry.
class ChunkFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the fields of the keyframe chunk through the host's byte stream:
// little-endian integers and IEEE doubles, field by field.
class ChunkWriter {
 public:
  ChunkWriter(abi::StreamWrite write, uint32_t stream) : write_(write), stream_(stream) {}

  void U8(uint8_t value);
  void U32(uint32_t value);
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void Double(double value);
  // A u32 length, then the bytes without a terminator.
  void String(const std::string& text);

 private:
  void Bytes(const uint8_t* bytes, uint32_t count);

  abi::StreamWrite write_;
  uint32_t stream_;
};

// Reads what ChunkWriter wrote. A read the stream cannot fill throws
// ChunkFormatError, so a cut-off chunk never yields made-up values.
class ChunkReader {
 public:
  ChunkReader(abi::StreamRead read, uint32_t stream) : read_(read), stream_(stream) {}

  uint8_t U8();
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  double Double();
  // Strings longer than `maxLength` throw ChunkFormatError before anything is allocated.
  std::string String(uint32_t maxLength = kMaxStringLength);
  // A u32 count of items, refused above `maxCount` (`what` names the items).
  uint32_t Count(uint32_t maxCount, const char* what);

  static constexpr uint32_t kMaxStringLength = 1u << 16;

 private:
  void Bytes(uint8_t* bytes, uint32_t count);

  abi::StreamRead read_;
  uint32_t stream_;
};

}  // namespace lumetra::keyframe
