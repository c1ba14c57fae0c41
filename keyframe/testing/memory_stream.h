#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "abi/scene_record.h"

namespace lumetra::keyframe::testing {

// A byte stream in memory behind the host's stream functions; one at a time,
// reached through the stream handle 1.
struct MemoryStream {
  std::vector<uint8_t> bytes;
  std::size_t position = 0;

  static MemoryStream*& Current() {
    static MemoryStream* current = nullptr;
    return current;
  }
  MemoryStream() { Current() = this; }
  ~MemoryStream() { Current() = nullptr; }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  static int32_t LUMETRA_STDCALL Write(uint32_t, const void* data, uint32_t count) {
    const auto* begin = static_cast<const uint8_t*>(data);
    Current()->bytes.insert(Current()->bytes.end(), begin, begin + count);
    return static_cast<int32_t>(count);
  }
  // Answers the bytes it could deliver, like the host's stream.
  static int32_t LUMETRA_STDCALL Read(uint32_t, void* data, uint32_t count) {
    MemoryStream& stream = *Current();
    const std::size_t taken = std::min<std::size_t>(count, stream.bytes.size() - stream.position);
    if (taken > 0) std::memcpy(data, stream.bytes.data() + stream.position, taken);
    stream.position += taken;
    return static_cast<int32_t>(taken);
  }
};

}  // namespace lumetra::keyframe::testing
