// Any bytes as a scene file: reading ends in a scene or in one SceneFileError that names
// the place, never in a crash, a hang or another exception. A scene that was read writes
// out as JSON that reads back to the same JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/scene_file.h"

namespace {

// Files the text may name are looked up beside a scene in a folder that does not exist,
// so the fuzzer exercises the parser, not the machine's files.
const std::string kPath = "/nonexistent-lumetra-fuzz/scene.json";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  lumetra::host::Scene scene;
  try {
    scene = lumetra::host::ParseScene(text, kPath);
  } catch (const lumetra::host::SceneFileError&) {
    return 0;
  }
  const nlohmann::json written = lumetra::host::SceneToJson(scene);
  lumetra::host::Scene again;
  try {
    again = lumetra::host::ParseScene(written.dump(), kPath);
  } catch (const lumetra::host::SceneFileError&) {
    std::abort();  // what we wrote, we must read
  }
  if (lumetra::host::SceneToJson(again) != written) std::abort();
  return 0;
}
