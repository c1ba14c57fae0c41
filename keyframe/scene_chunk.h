#pragma once

#include <cstdint>
#include <string>

#include "keyframe/chunk_stream.h"
#include "keyframe/scene_animation.h"

namespace lumetra::keyframe {

// The keyframe chunk the host keeps in its scene file: the animation range and
// current time, the animation output settings, the key steps modes and every
// track with its keys, by object name.
inline constexpr uint8_t kSceneChunkVersion = 23;

// The animation output settings as the chunk stores them (the custom frame rate
// is not stored: it is numerator / denominator).
struct StoredOutputSettings {
  int32_t fileOutput = 0;
  int32_t timeDisplay = 0;
  int32_t frameRateChoice = 0;
  uint32_t compressor = 0;
  int32_t quality = 0;
  int32_t keyFrameEvery = 0;
  int32_t dataRate = 0;
  int32_t frameRateNumerator = 0;
  int32_t frameRateDenominator = 0;
  std::string outputBaseName;
  bool renderFields = false;
  bool upperFieldFirst = true;

  bool operator==(const StoredOutputSettings&) const = default;
};

// Where the animation output settings live while the scene is open.
class OutputSettingsStore {
 public:
  virtual ~OutputSettingsStore() = default;
  virtual StoredOutputSettings Stored() const = 0;
  // Settings read from a chunk; the custom frame rate becomes numerator / denominator.
  virtual void TakeStored(const StoredOutputSettings& settings) = 0;
  // Chunks without settings take the registry's; answers their custom frame rate
  // (frames per second), by which such chunks count their times.
  virtual float LoadFromRegistry() = 0;
};

// How a load ended.
enum class ChunkLoad {
  Loaded,
  // Older than version 10: the warning was shown and nothing was taken.
  Refused,
  // Damaged: the error was shown; the tracks read whole before the damage were kept.
  Corrupt,
};

// Bytes SaveSceneChunk writes: 0 when there are no tracks (nothing is written then).
uint32_t SceneChunkSize(const SceneAnimation& animation, const StoredOutputSettings& settings);

// Writes the chunk at the current version, tracks in ascending signed identifier order.
void SaveSceneChunk(ChunkWriter& out, const SceneAnimation& animation, const StoredOutputSettings& settings);

// Reads a chunk of any version (above the current one with the current layout):
// the range, time and modes go to `animation` and the settings to `settings`
// once all of them were read; each track read whole joins the pending tracks.
// Never reads past what a damaged chunk holds and allocates only for bytes that
// arrived.
ChunkLoad LoadSceneChunk(ChunkReader& in, SceneAnimation& animation, OutputSettingsStore& settings);

}  // namespace lumetra::keyframe
