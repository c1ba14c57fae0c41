// Channel data of the keyframe chunk as hostile bytes: the first byte picks the
// object kind, the second the chunk version, the rest is the channel's data.
// Whatever loads must save again to exactly SavedSize() bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "keyframe/key_snapshot.h"

namespace {

struct Kind {
  uint32_t type;
  uint32_t subType;
};
constexpr Kind kKinds[] = {{2, 0},  {5, 0},  {7, 0},  {10, 0}, {11, 7}, {11, 19}, {11, 24}, {11, 25},
                           {13, 0}, {17, 0}, {18, 0}, {19, 0}, {22, 0}, {26, 0},  {27, 0},  {28, 0}};

const uint8_t* g_data = nullptr;
size_t g_left = 0;
std::vector<uint8_t> g_saved;

int32_t LUMETRA_STDCALL Read(uint32_t, void* bytes, uint32_t count) {
  const size_t taken = count < g_left ? count : g_left;
  std::memcpy(bytes, g_data, taken);
  g_data += taken;
  g_left -= taken;
  return static_cast<int32_t>(taken);
}

int32_t LUMETRA_STDCALL Write(uint32_t, const void* bytes, uint32_t count) {
  const auto* begin = static_cast<const uint8_t*>(bytes);
  g_saved.insert(g_saved.end(), begin, begin + count);
  return static_cast<int32_t>(count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const Kind kind = kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])];
  const int32_t version = 1 + data[1] % 23;
  lumetra::keyframe::KeySnapshot snapshot;
  snapshot.CreateChannel(kind.type, kind.subType);
  g_data = data + 2;
  g_left = size - 2;
  try {
    lumetra::keyframe::ChunkReader in(Read, 1);
    snapshot.Load(in, version);
  } catch (const lumetra::keyframe::ChunkFormatError&) {
    return 0;
  }
  g_saved.clear();
  lumetra::keyframe::ChunkWriter out(Write, 1);
  snapshot.Save(out);
  if (g_saved.size() != snapshot.SavedSize()) std::abort();
  return 0;
}
