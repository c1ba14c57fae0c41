// Any bytes as the keyframe chunk of a scene file: loading never reads past the
// bytes, and ends either loaded without a message box, refused after the one
// warning, or damaged with the one error box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "keyframe/scene_chunk.h"
#include "platform/messages.h"

namespace {

const uint8_t* g_data = nullptr;
size_t g_left = 0;
int g_boxes = 0;
std::string g_caption;

int32_t LUMETRA_STDCALL Read(uint32_t, void* bytes, uint32_t count) {
  const size_t taken = count < g_left ? count : g_left;
  if (taken) std::memcpy(bytes, g_data, taken);
  g_data += taken;
  g_left -= taken;
  return static_cast<int32_t>(taken);
}

struct Settings final : lumetra::keyframe::OutputSettingsStore {
  lumetra::keyframe::StoredOutputSettings stored;
  lumetra::keyframe::StoredOutputSettings Stored() const override { return stored; }
  void TakeStored(const lumetra::keyframe::StoredOutputSettings& settings) override { stored = settings; }
  float LoadFromRegistry() override { return 29.97f; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet =
      (lumetra::platform::Messages::InstallHandler([](const lumetra::platform::MessageRequest& request) {
         ++g_boxes;
         g_caption = request.caption;
         return lumetra::platform::MessageAnswer::Ok;
       }),
       true);
  (void)quiet;
  g_data = data;
  g_left = size;
  g_boxes = 0;
  lumetra::keyframe::SceneAnimation animation;
  Settings settings;
  lumetra::keyframe::ChunkReader in(Read, 1);
  const lumetra::keyframe::ChunkLoad result = lumetra::keyframe::LoadSceneChunk(in, animation, settings);
  const bool boxesAsExpected =
      result == lumetra::keyframe::ChunkLoad::Loaded
          ? g_boxes == 0
          : g_boxes == 1 &&
                g_caption == (result == lumetra::keyframe::ChunkLoad::Refused ? "Warning" : "Error");
  if (!boxesAsExpected) std::abort();
  return 0;
}
