#include "keyframe/scene_chunk.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "keyframe/ticks.h"
#include "platform/debug_log.h"
#include "platform/messages.h"

namespace lumetra::keyframe {
namespace {

// Chunk versions that changed the layout.
constexpr int32_t kFirstReadableVersion = 10;      // older ones carry a legacy base key per track
constexpr int32_t kFirstVersionWithSettings = 11;  // older ones count times in frames
constexpr int32_t kFirstVersionWithModes = 12;
constexpr int32_t kFirstVersionWithFields = 14;
constexpr int32_t kFirstVersionWithStepKind = 15;  // older ones store the kind one lower

constexpr uint32_t kHeaderSize = 85;
constexpr uint32_t kTrackHeaderSize = 40;
constexpr uint32_t kKeyTimeSize = 4;
constexpr int32_t kHighestTrackMode = 2;
constexpr int32_t kHighestInterpolation = 3;
constexpr float kFallbackFramesPerSecond = 15.0f;

int32_t NormalisedMode(int32_t mode) { return mode >= 0 && mode <= kHighestTrackMode ? mode : 0; }

// Tracks in ascending identifier order, the identifiers compared as signed integers.
std::vector<const ObjectTrack*> TracksInFileOrder(const SceneAnimation& animation) {
  std::vector<std::pair<int32_t, const ObjectTrack*>> ordered;
  for (const auto& [object, track] : animation.AllTracks())
    ordered.emplace_back(static_cast<int32_t>(object), track.get());
  std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const ObjectTrack*> tracks;
  for (const auto& entry : ordered) tracks.push_back(entry.second);
  return tracks;
}

uint32_t TrackSize(const ObjectTrack& track) {
  uint32_t size = kTrackHeaderSize + static_cast<uint32_t>(track.Name().size());
  for (const TrackKey& key : track.Keys()) size += kKeyTimeSize + key.snapshot.SavedSize();
  return size;
}

void SaveTrack(ChunkWriter& out, const ObjectTrack& track) {
  out.I32(track.KeyCount());
  out.U32(track.Type());
  out.U32(track.SubType());
  out.String(track.Name());
  out.I32(track.StoredInterpolation());
  const ObjectTrack::Extra& extra = track.Extras();
  out.I32(extra.flag ? 1 : 0);
  out.I32(extra.valueA);
  out.I32(extra.valueB);
  out.I32(NormalisedMode(extra.mode));
  out.I32(extra.valueC);
  for (const TrackKey& key : track.Keys()) {
    out.I32(key.time);
    key.snapshot.Save(out);
  }
}

// Chunks that count times in frames are read at this many ticks per frame.
int32_t TicksPerStoredFrame(float framesPerSecond) {
  const float ticks = std::trunc(static_cast<float>(kTicksPerSecond) / framesPerSecond);
  if (std::isfinite(ticks) && ticks >= 1.0f && ticks <= static_cast<float>(kTicksPerSecond) * 10.0f) {
    return static_cast<int32_t>(ticks);
  }
  platform::DebugLog::Printf(
      "Custom frame rate %g gives no frame length; times read at %g frames per second\n",
      static_cast<double>(framesPerSecond), static_cast<double>(kFallbackFramesPerSecond));
  return static_cast<int32_t>(static_cast<float>(kTicksPerSecond) / kFallbackFramesPerSecond);
}

// Reads the chunk after its version byte.
class ChunkLoader {
 public:
  ChunkLoader(ChunkReader& in, int32_t version, SceneAnimation& animation, OutputSettingsStore& settings)
      : in_(in), version_(version), animation_(animation), settings_(settings) {}

  void Load() {
    ReadHeader();
    const int32_t trackCount = in_.I32();
    if (trackCount < 0) throw ChunkFormatError("the keyframe data claims a negative number of tracks");
    // Each track joins the pending tracks only once read whole; the loop ends
    // at the end of the data however many tracks the chunk claims.
    for (int32_t i = 0; i < trackCount; ++i) animation_.AddPendingTrack(ReadTrack());
  }

 private:
  struct Header {
    int32_t start = 0, end = 0, current = 0;
    bool sceneFlag = false;
    std::string sceneText;
    int32_t keySteps = 0, sliderSteps = 0;
  };

  void ReadHeader() {
    Header header;
    header.start = in_.I32();
    header.end = in_.I32();
    header.current = in_.I32();
    in_.I32();  // reserved
    if (header.end <= header.start) {
      if (header.start == std::numeric_limits<int32_t>::max())
        throw ChunkFormatError("the animation range ends past the last tick");
      header.end = header.start + 1;
    }
    StoredOutputSettings stored = settings_.Stored();
    const bool hasSettings = version_ >= kFirstVersionWithSettings;
    if (hasSettings) {
      ReadSettings(stored);
    } else {
      ticksPerFrame_ = TicksPerStoredFrame(settings_.LoadFromRegistry());
      header.start = InTicks(header.start);
      header.end = InTicks(header.end);
      header.current = InTicks(header.current);
    }
    header.sceneFlag = in_.I32() != 0;
    header.sceneText = in_.String();
    if (version_ >= kFirstVersionWithModes) {
      header.keySteps = in_.I32();
      header.sliderSteps = in_.I32();
      header.keySteps = RepairedKeySteps(header.keySteps);
    }
    if (hasSettings) settings_.TakeStored(stored);
    Apply(header);
  }

  void ReadSettings(StoredOutputSettings& stored) {
    stored.fileOutput = in_.I32();
    stored.timeDisplay = in_.I32();
    stored.frameRateChoice = in_.I32();
    stored.compressor = in_.U32();
    stored.quality = in_.I32();
    stored.keyFrameEvery = in_.I32();
    stored.dataRate = in_.I32();
    stored.frameRateNumerator = in_.I32();
    stored.frameRateDenominator = in_.I32();
    stored.outputBaseName = in_.String();
    if (version_ >= kFirstVersionWithFields) {
      stored.renderFields = in_.I32() != 0;
      stored.upperFieldFirst = in_.I32() != 0;
    }
  }

  void Apply(const Header& header) {
    animation_.SetRange(header.start, header.end);
    animation_.StoreCurrentTime(header.current);
    animation_.sceneFlag = header.sceneFlag;
    animation_.sceneText = header.sceneText;
    animation_.SetKeyStepsMode(static_cast<KeySteps>(header.keySteps));
    animation_.SetSliderStepsMode(header.sliderSteps);
  }

  // A time of a chunk that counts in frames, in ticks.
  int32_t InTicks(int32_t frames) const {
    const int64_t ticks = static_cast<int64_t>(frames) * ticksPerFrame_;
    if (ticks < std::numeric_limits<int32_t>::min() || ticks > std::numeric_limits<int32_t>::max()) {
      throw ChunkFormatError("the keyframe data holds frame " + std::to_string(frames) +
                             ", past the last tick");
    }
    return static_cast<int32_t>(ticks);
  }

  std::unique_ptr<ObjectTrack> ReadTrack() {
    const int32_t keyCount = in_.I32();
    if (keyCount < 0) throw ChunkFormatError("the keyframe data claims a negative number of keys");
    const uint32_t type = in_.U32();
    const uint32_t subType = in_.U32();
    auto track = std::make_unique<ObjectTrack>(in_.String(), type, subType);
    track->SetInterpolation(ReadInterpolation(track->Name()));
    ObjectTrack::Extra& extra = track->Extras();
    extra.flag = in_.I32() != 0;
    extra.valueA = in_.I32();
    extra.valueB = in_.I32();
    extra.mode = NormalisedMode(in_.I32());
    extra.valueC = in_.I32();
    for (int32_t i = 0; i < keyCount; ++i) ReadKey(*track);
    return track;
  }

  // A mode the choice does not offer becomes "Object", the mode of a new scene; the tracks
  // stay.
  int32_t RepairedKeySteps(int32_t mode) const {
    if (mode >= 0 && mode <= static_cast<int32_t>(KeySteps::Scene)) return mode;
    platform::DebugLog::Printf("Bad key steps mode %d, from version %d\n", mode, version_);
    return static_cast<int32_t>(KeySteps::Object);
  }

  int32_t ReadInterpolation(const std::string& name) {
    int64_t kind = in_.I32();
    if (version_ < kFirstVersionWithStepKind) ++kind;
    if (kind >= 0 && kind <= kHighestInterpolation) return static_cast<int32_t>(kind);
    platform::DebugLog::Printf("Bad interpolate type for '%s', %lld, from version %d\n", name.c_str(),
                               static_cast<long long>(kind), version_);
    return static_cast<int32_t>(Interpolation::Linear);
  }

  // A key at a time the track already has is read and discarded.
  void ReadKey(ObjectTrack& track) {
    int32_t time = in_.I32();
    if (version_ < kFirstVersionWithSettings) time = InTicks(time);
    KeySnapshot snapshot;
    snapshot.CreateChannel(track.Type(), track.SubType());
    snapshot.Load(in_, version_);
    track.InsertKey(time, std::move(snapshot));
  }

  ChunkReader& in_;
  const int32_t version_;
  SceneAnimation& animation_;
  OutputSettingsStore& settings_;
  int32_t ticksPerFrame_ = 1;
};

void ShowOldVersionWarning() {
  platform::Messages::Show(
      "Warning",
      "The scene file being loaded is from a partly\n incompatible version of the keyframe "
      "plugin\nYou may need to rebuild parts of the animation.\n",
      platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
}

}  // namespace

uint32_t SceneChunkSize(const SceneAnimation& animation, const StoredOutputSettings& settings) {
  if (animation.AllTracks().empty()) return 0;
  uint32_t size =
      kHeaderSize + static_cast<uint32_t>(settings.outputBaseName.size() + animation.sceneText.size());
  for (const auto& entry : animation.AllTracks()) size += TrackSize(*entry.second);
  return size;
}

void SaveSceneChunk(ChunkWriter& out, const SceneAnimation& animation, const StoredOutputSettings& settings) {
  if (animation.AllTracks().empty()) return;
  out.U8(kSceneChunkVersion);
  out.I32(animation.StartTime());
  out.I32(animation.EndTime());
  out.I32(animation.CurrentTime());
  out.I32(0);  // reserved
  out.I32(settings.fileOutput);
  out.I32(settings.timeDisplay);
  out.I32(settings.frameRateChoice);
  out.U32(settings.compressor);
  out.I32(settings.quality);
  out.I32(settings.keyFrameEvery);
  out.I32(settings.dataRate);
  out.I32(settings.frameRateNumerator);
  out.I32(settings.frameRateDenominator);
  out.String(settings.outputBaseName);
  out.I32(settings.renderFields ? 1 : 0);
  out.I32(settings.upperFieldFirst ? 1 : 0);
  out.I32(animation.sceneFlag ? 1 : 0);
  out.String(animation.sceneText);
  out.I32(static_cast<int32_t>(animation.KeyStepsMode()));
  out.I32(animation.SliderStepsMode());
  const std::vector<const ObjectTrack*> tracks = TracksInFileOrder(animation);
  out.I32(static_cast<int32_t>(tracks.size()));
  for (const ObjectTrack* track : tracks) SaveTrack(out, *track);
}

ChunkLoad LoadSceneChunk(ChunkReader& in, SceneAnimation& animation, OutputSettingsStore& settings) {
  try {
    const int32_t version = in.U8();
    if (version < kFirstReadableVersion) {
      ShowOldVersionWarning();
      platform::DebugLog::Printf(
          "Keyframe data of version %d predates version %d; its animation is not read\n", version,
          kFirstReadableVersion);
      return ChunkLoad::Refused;
    }
    ChunkLoader(in, version, animation, settings).Load();
    return ChunkLoad::Loaded;
  } catch (const ChunkFormatError& error) {
    platform::DebugLog::Printf("Keyframe data not read: %s\n", error.what());
    platform::Messages::Show("Error", "Corrupt keyframe data in scene file", platform::MessageButtons::Ok,
                             platform::MessageIcon::Error);
    return ChunkLoad::Corrupt;
  }
}

}  // namespace lumetra::keyframe
