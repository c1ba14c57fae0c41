#include "keyframe/scene_chunk.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "abi/object_params.h"
#include "keyframe/camera_channel.h"
#include "keyframe/testing/host_fixture.h"
#include "keyframe/testing/memory_stream.h"
#include "platform/debug_log.h"
#include "platform/testing/recording_messages.h"

namespace lumetra::keyframe {
namespace {

using testing::HostFixture;
using testing::MemoryStream;

// Chunk bytes written field by field, little-endian, as the tables lay them out.
struct ChunkBytes {
  std::vector<uint8_t> bytes;

  ChunkBytes& U8(uint8_t value) {
    bytes.push_back(value);
    return *this;
  }
  ChunkBytes& U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
  }
  ChunkBytes& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
  ChunkBytes& Doubles(std::initializer_list<double> values) {
    for (double value : values) {
      const auto bits = std::bit_cast<uint64_t>(value);
      U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
    }
    return *this;
  }
  ChunkBytes& Repeat(double value, int count) {
    for (int i = 0; i < count; ++i) Doubles({value});
    return *this;
  }
  ChunkBytes& String(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
};

// The settings of the open scene, with a registry whose custom frame rate is 25.
struct FakeSettings final : OutputSettingsStore {
  StoredOutputSettings current;
  float registryRate = 25.0f;
  int registryLoads = 0;
  int taken = 0;

  StoredOutputSettings Stored() const override { return current; }
  void TakeStored(const StoredOutputSettings& settings) override {
    current = settings;
    ++taken;
  }
  float LoadFromRegistry() override {
    ++registryLoads;
    return registryRate;
  }
};

struct Loaded {
  SceneAnimation animation;
  FakeSettings settings;
  platform::RecordingMessages messages;
  ChunkLoad result = ChunkLoad::Loaded;

  const ObjectTrack& Track(std::size_t index) const { return *animation.PendingTracks().at(index); }
};

void Load(const std::vector<uint8_t>& bytes, Loaded& into) {
  MemoryStream stream;
  stream.bytes = bytes;
  ChunkReader in(MemoryStream::Read, 1);
  into.result = LoadSceneChunk(in, into.animation, into.settings);
}

// Version byte and header of a chunk of `version`: range 100..200 (in the chunk's
// unit), current 150, settings 1..9 and "base", scene text "notes", modes 2 and 1.
ChunkBytes Header(int version, int32_t start = 100, int32_t end = 200, int32_t keySteps = 2) {
  ChunkBytes b;
  b.U8(static_cast<uint8_t>(version)).I32(start).I32(end).I32(150).I32(0);
  if (version >= 11) {
    b.I32(3).I32(2).I32(7).U32(0x44495658).I32(5000).I32(12).I32(1000).I32(30000).I32(1001).String("base");
    if (version >= 14) b.I32(1).I32(0);
  }
  b.I32(1).String("notes");
  if (version >= 12) b.I32(keySteps).I32(1);
  return b;
}

void TrackHeader(ChunkBytes& b, int32_t keys, uint32_t type, uint32_t subType, const std::string& name,
                 int32_t interpolation, int32_t mode = 1) {
  b.I32(keys).U32(type).U32(subType).String(name).I32(interpolation).I32(1).I32(-7).I32(8).I32(mode).I32(9);
}

// A transform channel body without a block, texture transform from version 16 on.
void PlainTransform(ChunkBytes& b, int version, double textureScale = 2.0) {
  b.U32(0);
  if (version >= 16) b.Repeat(textureScale, 3).Repeat(0.25, 3).Repeat(-1.0, 3);
}

// A transform channel body whose block translates by (x, 0, 0) and has a local
// scale of 3; version 21 carries the eighteen skipped doubles after each part.
void MovedTransform(ChunkBytes& b, int version, double x) {
  b.U32(1).U32(101).Repeat(1.0, 3).Repeat(0.0, 3).Doubles({x, 0.0, 0.0});
  if (version == 21) b.Repeat(77.0, 18);
  b.U32(1).Repeat(3.0, 3).Repeat(0.0, 6);
  if (version == 21) b.Repeat(88.0, 18);
  if (version >= 16) b.Repeat(1.0, 3).Repeat(0.0, 6);
}

TEST(SceneChunkFixtures, CurrentVersionLoadsEveryField) {
  ChunkBytes b = Header(23);
  b.I32(2);
  TrackHeader(b, 2, abi::kTypeCone, 0, "Cone", 2, 5);
  b.I32(0);
  MovedTransform(b, 23, 1.5);
  b.Doubles({0.5, 0.75});
  b.I32(4800);
  PlainTransform(b, 23);
  b.Doubles({1.0, 2.0});
  TrackHeader(b, 1, abi::kTypeTextureNode, 24, "Node", 0);
  b.I32(-9600).Repeat(4.0, 3).Repeat(5.0, 3).Repeat(6.0, 3);
  Loaded loaded;
  Load(b.bytes, loaded);

  ASSERT_EQ(loaded.result, ChunkLoad::Loaded);
  EXPECT_EQ(loaded.messages.Count(), 0u);
  EXPECT_EQ(loaded.animation.StartTime(), 100);
  EXPECT_EQ(loaded.animation.EndTime(), 200);
  EXPECT_EQ(loaded.animation.CurrentTime(), 150);
  EXPECT_TRUE(loaded.animation.sceneFlag);
  EXPECT_EQ(loaded.animation.sceneText, "notes");
  EXPECT_EQ(loaded.animation.KeyStepsMode(), KeySteps::Scene);
  EXPECT_EQ(loaded.animation.SliderStepsMode(), 1);
  const StoredOutputSettings expected{3, 2, 7, 0x44495658, 5000, 12, 1000, 30000, 1001, "base", true, false};
  EXPECT_EQ(loaded.settings.current, expected);
  EXPECT_EQ(loaded.settings.registryLoads, 0);

  ASSERT_EQ(loaded.animation.PendingTracks().size(), 2u);
  const ObjectTrack& cone = loaded.Track(0);
  EXPECT_EQ(cone.Name(), "Cone");
  EXPECT_EQ(cone.Type(), abi::kTypeCone);
  EXPECT_EQ(cone.StoredInterpolation(), 2);
  EXPECT_TRUE(cone.Extras().flag);
  EXPECT_EQ(cone.Extras().valueA, -7);
  EXPECT_EQ(cone.Extras().valueB, 8);
  EXPECT_EQ(cone.Extras().mode, 0) << "a mode outside 0..2 reads as 0";
  EXPECT_EQ(cone.Extras().valueC, 9);
  ASSERT_EQ(cone.KeyCount(), 2);
  EXPECT_EQ(cone.Keys()[0].snapshot.GetValue(2), (ParamValue{1.5, 0, 0, 0}));
  EXPECT_EQ(cone.Keys()[0].snapshot.GetValue(4), (ParamValue{3, 3, 3, 0}));
  EXPECT_EQ(cone.Keys()[0].snapshot.GetValue(9).x, 0.5);
  EXPECT_EQ(cone.Keys()[1].time, 4800);
  EXPECT_EQ(cone.Keys()[1].snapshot.GetValue(7), (ParamValue{2, 2, 2, 0}));
  EXPECT_EQ(cone.Keys()[1].snapshot.GetValue(10).x, 2.0);
  const ObjectTrack& node = loaded.Track(1);
  EXPECT_EQ(node.SubType(), 24u);
  EXPECT_EQ(node.Keys()[0].time, -9600);
  EXPECT_EQ(node.Keys()[0].snapshot.SavedSize(), 72u);
}

TEST(SceneChunkFixtures, OlderLayoutsByVersion) {
  // Version 21 skips eighteen doubles after each transform part; 16 has the
  // texture transform; 15 not, and stores the kind as it is; 14 one lower.
  for (const int version : {21, 16, 15, 14}) {
    SCOPED_TRACE(version);
    ChunkBytes b = Header(version);
    b.I32(1);
    TrackHeader(b, 1, abi::kTypeSphere, 0, "Ball", 1);
    b.I32(480);
    MovedTransform(b, version, -2.0);
    Loaded loaded;
    Load(b.bytes, loaded);
    ASSERT_EQ(loaded.result, ChunkLoad::Loaded);
    const KeySnapshot& key = loaded.Track(0).Keys().at(0).snapshot;
    EXPECT_EQ(key.GetValue(2), (ParamValue{-2.0, 0, 0, 0}));
    EXPECT_EQ(key.GetValue(4), (ParamValue{3, 3, 3, 0}));
    EXPECT_EQ(key.GetValue(7), (ParamValue{1, 1, 1, 0})) << "the texture scale is 1 when absent";
    EXPECT_EQ(loaded.Track(0).StoredInterpolation(), version >= 15 ? 1 : 2);
    EXPECT_TRUE(loaded.settings.current.renderFields);
  }
}

TEST(SceneChunkFixtures, VersionsWithoutFieldsModesOrTicks) {
  Loaded v12;
  v12.settings.current.renderFields = true;
  v12.settings.current.upperFieldFirst = false;
  ChunkBytes b12 = Header(12);
  b12.I32(0);
  Load(b12.bytes, v12);
  EXPECT_EQ(v12.result, ChunkLoad::Loaded);
  EXPECT_EQ(v12.animation.KeyStepsMode(), KeySteps::Scene);
  EXPECT_TRUE(v12.settings.current.renderFields) << "fields 16 and 17 keep their values before version 14";
  EXPECT_FALSE(v12.settings.current.upperFieldFirst);
  EXPECT_EQ(v12.settings.current.outputBaseName, "base");

  Loaded v11;
  v11.animation.SetKeyStepsMode(KeySteps::Scene);
  ChunkBytes b11 = Header(11);
  b11.I32(1);
  TrackHeader(b11, 1, abi::kTypeBox, 0, "Box", 0);
  b11.I32(9600);
  MovedTransform(b11, 11, 4.0);
  Load(b11.bytes, v11);
  ASSERT_EQ(v11.result, ChunkLoad::Loaded);
  EXPECT_EQ(v11.animation.KeyStepsMode(), KeySteps::Selected) << "no modes before version 12";
  EXPECT_EQ(v11.animation.SliderStepsMode(), 0);
  EXPECT_EQ(v11.animation.StartTime(), 100) << "ticks from version 11 on";
  EXPECT_EQ(v11.Track(0).Keys().at(0).time, 9600);
  EXPECT_EQ(v11.Track(0).StoredInterpolation(), 1) << "a stored Step reads one higher";
  EXPECT_EQ(v11.settings.registryLoads, 0);
}

TEST(SceneChunkFixtures, VersionTenCountsFramesAtTheRegistryRate) {
  // Registry rate 25: trunc(4800 / 25) = 192 ticks per frame. The spline mesh
  // reads its points from version 10 on.
  ChunkBytes b = Header(10, 7, 7);
  b.I32(1);
  TrackHeader(b, 3, abi::kTypeSplineMesh, 0, "Mesh", 1);
  b.I32(50);
  MovedTransform(b, 10, 1.0);
  b.U32(2).Repeat(1.0, 3).Repeat(2.0, 3);
  b.I32(50);  // a second key at a taken time is discarded
  MovedTransform(b, 10, 9.0);
  b.U32(0);
  b.I32(-1);
  MovedTransform(b, 10, 3.0);
  b.U32(1).Repeat(5.0, 3);
  Loaded loaded;
  Load(b.bytes, loaded);
  ASSERT_EQ(loaded.result, ChunkLoad::Loaded);
  ASSERT_EQ(loaded.messages.Count(), 0u) << "version 10 is not warned about";
  EXPECT_EQ(loaded.settings.registryLoads, 1);
  EXPECT_EQ(loaded.settings.taken, 0) << "the registry's settings stay";
  EXPECT_EQ(loaded.animation.StartTime(), 7 * 192);
  EXPECT_EQ(loaded.animation.EndTime(), 8 * 192) << "an empty range ends one after its start";
  EXPECT_EQ(loaded.animation.CurrentTime(), 150 * 192);
  EXPECT_EQ(loaded.animation.KeyStepsMode(), KeySteps::Selected);
  const ObjectTrack& mesh = loaded.Track(0);
  ASSERT_EQ(mesh.KeyCount(), 2);
  EXPECT_EQ(mesh.Keys()[0].time, -192);
  EXPECT_EQ(mesh.Keys()[1].time, 9600);
  EXPECT_EQ(mesh.Keys()[1].snapshot.GetValue(2).x, 1.0) << "the first key at a time stays";
  EXPECT_EQ(mesh.Keys()[1].snapshot.SavedSize(), 228u + 4 + 48);
}

TEST(SceneChunkFixtures, VersionsBeforeTenAreRefusedAfterTheWarning) {
  for (const int version : {1, 3, 4}) {
    SCOPED_TRACE(version);
    ChunkBytes b;
    b.U8(static_cast<uint8_t>(version)).I32(1).I32(2).I32(1).I32(0).I32(1).String("old").I32(1);
    TrackHeader(b, 1, abi::kTypeSphere, 0, "Ball", 1);
    Loaded loaded;
    loaded.animation.SetRange(0, 120);
    Load(b.bytes, loaded);
    EXPECT_EQ(loaded.result, ChunkLoad::Refused);
    ASSERT_EQ(loaded.messages.Count(), 1u);
    const platform::MessageRequest box = loaded.messages.Calls()[0];
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(
        box.text,
        "The scene file being loaded is from a partly\n incompatible version of the keyframe plugin\nYou may "
        "need to rebuild parts of the animation.\n");
    EXPECT_EQ(box.icon, platform::MessageIcon::Exclamation);
    EXPECT_TRUE(loaded.animation.PendingTracks().empty());
    EXPECT_EQ(loaded.animation.EndTime(), 120);
    EXPECT_EQ(loaded.settings.registryLoads, 0);
  }
}

TEST(SceneChunkFixtures, UnknownInterpolationBecomesLinearWithADebugLine) {
  ChunkBytes b = Header(23);
  b.I32(1);
  TrackHeader(b, 0, abi::kTypeSphere, 0, "Ball", 4);
  platform::DebugLog::Clear();
  Loaded loaded;
  Load(b.bytes, loaded);
  ASSERT_EQ(loaded.result, ChunkLoad::Loaded);
  EXPECT_EQ(loaded.Track(0).StoredInterpolation(), 1);
  const auto lines = platform::DebugLog::Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Bad interpolate type for 'Ball', 4, from version 23\n"),
            lines.end());
}

TEST(SceneChunkFixtures, AnUnknownKeyStepsModeBecomesObjectAndTheTracksStay) {
  for (const int32_t mode : {3, -1}) {
    ChunkBytes b = Header(23, 100, 200, mode);
    b.I32(1);
    TrackHeader(b, 1, abi::kTypeSphere, 0, "Ball", 1);
    b.I32(0);
    PlainTransform(b, 23);
    platform::DebugLog::Clear();
    Loaded loaded;
    Load(b.bytes, loaded);
    ASSERT_EQ(loaded.result, ChunkLoad::Loaded) << mode;
    EXPECT_EQ(loaded.animation.KeyStepsMode(), KeySteps::Object);
    EXPECT_EQ(loaded.Track(0).KeyCount(), 1);
    EXPECT_EQ(platform::DebugLog::Lines(),
              std::vector<std::string>{"Bad key steps mode " + std::to_string(mode) + ", from version 23\n"});
  }
}

// A chunk of two whole tracks.
std::vector<uint8_t> TwoTrackChunk() {
  ChunkBytes b = Header(23);
  b.I32(2);
  TrackHeader(b, 1, abi::kTypeSphere, 0, "First", 1);
  b.I32(0);
  PlainTransform(b, 23);
  TrackHeader(b, 1, abi::kTypeCamera, 0, "Second", 1);
  b.I32(0).Repeat(1.0, 3).U32(0).U32(4).Doubles({0.5}).String("Target").String("").Repeat(0.0, 9);
  return b.bytes;
}

TEST(SceneChunkDamage, CutAnywhereKeepsWholeTracksAndReportsOnce) {
  const std::vector<uint8_t> whole = TwoTrackChunk();
  const std::size_t firstTrackEnd = Header(23).bytes.size() + 4 + 40 + 5 + 4 + 76;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    Loaded loaded;
    Load({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)}, loaded);
    EXPECT_EQ(loaded.result, ChunkLoad::Corrupt);
    ASSERT_EQ(loaded.messages.Count(), 1u);
    EXPECT_EQ(loaded.messages.Calls()[0].caption, "Error");
    EXPECT_EQ(loaded.messages.Calls()[0].text, "Corrupt keyframe data in scene file");
    EXPECT_EQ(loaded.animation.PendingTracks().size(), size >= firstTrackEnd ? 1u : 0u);
    EXPECT_EQ(loaded.animation.sceneText, size >= Header(23).bytes.size() ? "notes" : "")
        << "the header is taken only whole";
  }
  Loaded loaded;
  Load(whole, loaded);
  EXPECT_EQ(loaded.result, ChunkLoad::Loaded);
  EXPECT_EQ(loaded.animation.PendingTracks().size(), 2u);
}

TEST(SceneChunkDamage, HugeClaimsStopAtTheEndOfTheData) {
  const auto withTracks = [](uint32_t claimed) {
    ChunkBytes b = Header(23);
    b.U32(claimed);
    return b;
  };
  ChunkBytes manyTracks = withTracks(0x7FFFFFFF);
  TrackHeader(manyTracks, 0, 3, 0, "Only", 1);
  ChunkBytes manyKeys = withTracks(1);
  TrackHeader(manyKeys, 0x7FFFFFFF, 3, 0, "Keys", 1);
  ChunkBytes hugeName = withTracks(1);
  hugeName.I32(1).I32(3).I32(0).U32(0xFFFFFFFF);
  ChunkBytes hugeText = Header(23);
  hugeText.bytes.resize(hugeText.bytes.size() - 17);  // the scene text and the modes
  hugeText.U32(0xFFFFFFF0);
  ChunkBytes negativeTracks = withTracks(0xFFFFFFFF);
  ChunkBytes manyPoints = withTracks(1);
  TrackHeader(manyPoints, 1, abi::kTypeSplineMesh, 0, "Mesh", 1);
  manyPoints.I32(0);
  PlainTransform(manyPoints, 23);
  manyPoints.U32(0xFFFFFFFF);
  ChunkBytes lateFrame = Header(10);
  lateFrame.I32(1);
  TrackHeader(lateFrame, 1, 3, 0, "Late", 1);
  lateFrame.I32(0x7FFFFFFF);
  for (const ChunkBytes* chunk :
       {&manyTracks, &manyKeys, &hugeName, &hugeText, &negativeTracks, &manyPoints, &lateFrame}) {
    Loaded loaded;
    Load(chunk->bytes, loaded);
    EXPECT_EQ(loaded.result, ChunkLoad::Corrupt);
    EXPECT_EQ(loaded.messages.Count(), 1u);
    EXPECT_LE(loaded.animation.PendingTracks().size(), 1u);
  }
}

// A random value for every parameter of the snapshot, or none, so the block is
// absent, plain or with a local part.
void RandomValues(KeySnapshot& key, std::mt19937& random) {
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  const int count = key.ParamCount();
  const int touched = std::uniform_int_distribution<int>(0, count)(random);
  for (int i = 0; i < touched; ++i) {
    const int index = std::uniform_int_distribution<int>(0, count - 1)(random);
    key.SetValue(index, {value(random), value(random), value(random), 0.0});
  }
}

// Channels whose saved form has a length of its own get random data through their reader.
void RandomLengthData(KeySnapshot& key, uint32_t type, std::mt19937& random) {
  std::uniform_int_distribution<uint32_t> count(0, 6);
  ChunkBytes b;
  if (type == abi::kTypeCamera) {
    b.Repeat(1.0, 3).U32(1).U32(3).Doubles({2.0}).String(std::string(count(random), 'a'));
    b.String(std::string(count(random), 'b')).Repeat(0.5, 9);
  } else if (type == abi::kTypeSplineMesh) {
    PlainTransform(b, 23);
    const uint32_t points = count(random);
    b.U32(points).Repeat(1.5, 3 * static_cast<int>(points));
  } else if (type >= abi::kTypeSweep && type <= abi::kTypeExtrusion) {
    PlainTransform(b, 23);
    const uint32_t points = count(random) + 1;
    b.U32(2).U32(points - 1).Doubles({0.1, 0.2}).Repeat(2.5, 3 * static_cast<int>(points));
  } else {
    return;
  }
  MemoryStream stream;
  stream.bytes = b.bytes;
  ChunkReader in(MemoryStream::Read, 1);
  key.Load(in, kSceneChunkVersion);
}

struct ObjectKind {
  uint32_t type;
  uint32_t subType;
};
constexpr ObjectKind kEveryChannel[] = {{3, 0},   {5, 0},   {6, 0},   {7, 0},   {8, 0},   {10, 0},
                                        {20, 0},  {11, 7},  {11, 40}, {11, 41}, {11, 42}, {11, 24},
                                        {11, 19}, {11, 25}, {11, 23}, {13, 0},  {17, 0},  {18, 0},
                                        {19, 0},  {22, 0},  {26, 0},  {27, 0},  {28, 0},  {31, 0}};

std::vector<uint8_t> Save(const SceneAnimation& animation, const StoredOutputSettings& settings) {
  MemoryStream stream;
  ChunkWriter out(MemoryStream::Write, 1);
  SaveSceneChunk(out, animation, settings);
  return stream.bytes;
}

// Random tracks over every channel kind, attached to objects of the fixture's scene.
void RandomAnimation(SceneAnimation& animation, HostFixture& fixture, std::mt19937& random) {
  const int tracks = std::uniform_int_distribution<int>(1, 5)(random);
  for (int t = 0; t < tracks; ++t) {
    const ObjectKind kind =
        kEveryChannel[std::uniform_int_distribution<std::size_t>(0, std::size(kEveryChannel) - 1)(random)];
    const std::string name =
        "object" + std::to_string(fixture.scene.ObjectCount()) + std::string(random() % 4, 'x');
    fixture.Add(kind.type, name);
    auto track = std::make_unique<ObjectTrack>(name, kind.type, kind.subType);
    track->SetInterpolation(std::uniform_int_distribution<int32_t>(0, 3)(random));
    track->Extras() = {random() % 2 == 0, static_cast<int32_t>(random()), 4,
                       static_cast<int32_t>(random() % 3), -5};
    const int keys = std::uniform_int_distribution<int>(0, 4)(random);
    for (int k = 0; k < keys; ++k) {
      KeySnapshot key;
      key.CreateChannel(kind.type, kind.subType);
      RandomLengthData(key, kind.type, random);
      RandomValues(key, random);
      track->InsertKey(std::uniform_int_distribution<int32_t>(-100000, 100000)(random), std::move(key));
    }
    animation.AddPendingTrack(std::move(track));
  }
  animation.AttachPendingTracks();
}

TEST(SceneChunkSize, EqualsTheBytesWrittenAndReloadsToTheSameBytes) {
  std::mt19937 random(6);
  for (int round = 0; round < 1000; ++round) {
    SCOPED_TRACE(round);
    HostFixture fixture;
    SceneAnimation animation(fixture.host);
    RandomAnimation(animation, fixture, random);
    animation.SetRange(-480, 96000);
    animation.sceneText = std::string(random() % 9, 's');
    StoredOutputSettings settings{1, 2, 3, 4, 5, 6, 7, 8, 9, std::string(random() % 5, 'n'), true, false};
    const std::vector<uint8_t> written = Save(animation, settings);
    ASSERT_EQ(SceneChunkSize(animation, settings), written.size());
    ASSERT_EQ(written.at(0), kSceneChunkVersion);

    Loaded reloaded;
    reloaded.animation.SetHost(fixture.host);
    Load(written, reloaded);
    ASSERT_EQ(reloaded.result, ChunkLoad::Loaded);
    EXPECT_EQ(reloaded.settings.current, settings);
    reloaded.animation.AttachPendingTracks();
    ASSERT_EQ(Save(reloaded.animation, settings), written);
  }
}

TEST(SceneChunkSize, NoTracksNoChunk) {
  SceneAnimation animation;
  animation.sceneText = "kept only with tracks";
  EXPECT_EQ(SceneChunkSize(animation, {}), 0u);
  EXPECT_TRUE(Save(animation, {}).empty());
}

}  // namespace
}  // namespace lumetra::keyframe
