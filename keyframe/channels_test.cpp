#include <gtest/gtest.h>

#include <cstring>

#include "keyframe/camera_channel.h"
#include "keyframe/channel_factory.h"
#include "keyframe/key_snapshot.h"
#include "keyframe/profile_channel.h"
#include "keyframe/shape_channel.h"
#include "keyframe/testing/host_fixture.h"
#include "keyframe/testing/memory_stream.h"
#include "keyframe/texture_node_channels.h"

namespace lumetra::keyframe {
namespace {

using testing::HostFixture;
using testing::MemoryStream;

constexpr int32_t kVersion = 23;

// Saves the channel and answers the bytes written.
std::vector<uint8_t> Saved(const AnimChannel& channel) {
  MemoryStream stream;
  ChunkWriter out(MemoryStream::Write, 1);
  channel.Save(out);
  return stream.bytes;
}

// Loads `bytes` into `channel`; true when every byte was used.
bool LoadAll(AnimChannel& channel, std::vector<uint8_t> bytes, int32_t version = kVersion) {
  MemoryStream stream;
  stream.bytes = std::move(bytes);
  ChunkReader in(MemoryStream::Read, 1);
  channel.Load(in, version);
  return stream.position == stream.bytes.size();
}

void ExpectSameValues(const AnimChannel& a, const AnimChannel& b) {
  ASSERT_EQ(a.ParamCount(), b.ParamCount());
  for (int i = 0; i < a.ParamCount(); ++i) EXPECT_EQ(a.GetValue(i), b.GetValue(i)) << a.ParamName(i);
}

ObjectRecord ReadRecord(HostFixture& fixture, uint32_t id) {
  ObjectRecord record;
  EXPECT_EQ(fixture.host.ReadObject(id, record, true), 0);
  return record;
}

TEST(TransformChannel, UntouchedReportsTheIdentityWithoutABlock) {
  TransformChannel channel;
  EXPECT_EQ(channel.GetValue(1), (ParamValue{1, 1, 1, 0}));
  EXPECT_EQ(channel.GetValue(0), ParamValue{});
  EXPECT_EQ(channel.GetValue(2), ParamValue{});
  EXPECT_EQ(channel.GetValue(7), (ParamValue{1, 1, 1, 0}));
  EXPECT_EQ(channel.Block(), nullptr);
  EXPECT_EQ(channel.SavedSize(), 76u);
  EXPECT_EQ(Saved(channel).size(), 76u);
  EXPECT_EQ(channel.ParamName(9), "Obj Specific");
  EXPECT_EQ(channel.ParamType(9), ValueType::None);
}

TEST(TransformChannel, SavedSizeFollowsTheLocalPartAndRoundTrips) {
  TransformChannel identityLocal;
  identityLocal.SetValue(4, {1, 1, 1, 0});
  EXPECT_EQ(identityLocal.SavedSize(), 156u);
  TransformChannel withLocal;
  withLocal.SetValue(2, {1, 2, 3, 0});
  withLocal.SetValue(3, {0, 45, 0, 0});
  withLocal.SetValue(8, {0.5, 0, 0, 0});
  EXPECT_EQ(withLocal.SavedSize(), 228u);
  for (const TransformChannel* channel : {&identityLocal, &withLocal}) {
    const auto bytes = Saved(*channel);
    EXPECT_EQ(bytes.size(), channel->SavedSize());
    TransformChannel loaded;
    EXPECT_TRUE(LoadAll(loaded, bytes));
    ExpectSameValues(loaded, *channel);
    EXPECT_EQ(loaded.SavedSize(), channel->SavedSize());
  }
}

TEST(TransformChannel, OlderChunksLackTheFlagOrTheTextureOrCarryExtraDoubles) {
  TransformChannel source;
  source.SetValue(1, {2, 2, 2, 0});
  source.SetValue(5, {0, 1, 0, 0});
  auto bytes = Saved(source);
  // Version 21: eighteen doubles after the global part and after the local part.
  std::vector<uint8_t> v21(bytes.begin(), bytes.begin() + 4 + 4 + 72);
  v21.insert(v21.end(), 18 * 8, 0);
  v21.insert(v21.end(), bytes.begin() + 80, bytes.begin() + 80 + 4 + 72);
  v21.insert(v21.end(), 18 * 8, 0);
  v21.insert(v21.end(), bytes.begin() + 156, bytes.end());
  TransformChannel loaded21;
  EXPECT_TRUE(LoadAll(loaded21, v21, 21));
  ExpectSameValues(loaded21, source);
  // Version 3: no leading flag, no texture transform (reset to its defaults).
  std::vector<uint8_t> v3(bytes.begin() + 4, bytes.end() - 72);
  TransformChannel loaded3;
  loaded3.SetValue(7, {5, 5, 5, 0});
  EXPECT_TRUE(LoadAll(loaded3, v3, 3));
  EXPECT_EQ(loaded3.GetValue(1), (ParamValue{2, 2, 2, 0}));
  EXPECT_EQ(loaded3.GetValue(5), (ParamValue{0, 1, 0, 0}));
  EXPECT_EQ(loaded3.GetValue(7), (ParamValue{1, 1, 1, 0}));
  // A leading 0 frees the block.
  TransformChannel freed;
  freed.SetValue(0, {10, 0, 0, 0});
  EXPECT_TRUE(LoadAll(freed, Saved(TransformChannel())));
  EXPECT_EQ(freed.Block(), nullptr);
}

TEST(TransformChannel, ReadsTheHostAndWritesBackOnlyWhatDiffers) {
  HostFixture fixture;
  host::SceneObject& box = fixture.Add(abi::kTypeBox, "Box");
  box.data.textureScale[0] = 3;
  TransformChannel channel;
  channel.ReadFromHost(fixture.host, box.id, ReadRecord(fixture, box.id).info);
  EXPECT_EQ(channel.Block(), nullptr) << "an identity record allocates no block";
  EXPECT_EQ(channel.GetValue(7), (ParamValue{3, 1, 1, 0}));
  EXPECT_EQ(channel.WriteToHost(fixture.host, box.id), kUnchanged);
  EXPECT_TRUE(fixture.Log().paramStores.empty());
  EXPECT_TRUE(fixture.Log().infoStores.empty());

  channel.SetValue(2, {1, 2, 3, 0});
  EXPECT_EQ(channel.WriteToHost(fixture.host, box.id), kTransformWritten);
  ASSERT_EQ(fixture.Log().paramStores.size(), 1u);
  EXPECT_EQ(fixture.Log().paramStores[0].second, kStoreTransform);
  EXPECT_EQ(box.params.translate[2], 3.0);

  channel.SetValue(3, {0, 90, 0, 0});
  channel.SetValue(6, {0, 0, 30, 0});
  EXPECT_EQ(channel.WriteToHost(fixture.host, box.id), kTransformWritten);
  EXPECT_EQ(fixture.Log().paramStores.back().second, kStoreTransformWithLocal);
  EXPECT_EQ(box.params.hasLocal, 1u);
  ASSERT_EQ(fixture.Log().infoStores.size(), 1u);
  EXPECT_EQ(fixture.Log().infoStores[0].second, kStoreTextureTransform);
  EXPECT_EQ(box.data.textureRotate[2], 30.0);

  TransformChannel reread;
  reread.ReadFromHost(fixture.host, box.id, ReadRecord(fixture, box.id).info);
  ExpectSameValues(reread, channel);
}

TEST(ShapeChannels, OwnDataMovesOnlyBeyondTheTolerance) {
  HostFixture fixture;
  host::SceneObject& cone = fixture.Add(abi::kTypeCone, "Cone");
  cone.data.shape.cone.upperRadius = 0.0;
  cone.data.shape.cone.lowerRadius = 2.0;
  ConeChannel channel;
  channel.ReadFromHost(fixture.host, cone.id, ReadRecord(fixture, cone.id).info);
  EXPECT_EQ(channel.ParamCount(), 11);
  EXPECT_EQ(channel.ParamName(10), "Lower Radius");
  EXPECT_TRUE(channel.HasTangents(9));
  EXPECT_EQ(channel.GetValue(10).x, 2.0);

  channel.SetValue(9, {1e-5, 0, 0, 0});
  EXPECT_EQ(channel.WriteToHost(fixture.host, cone.id), kUnchanged);
  EXPECT_EQ(cone.data.shape.cone.upperRadius, 0.0);
  channel.SetValue(9, {2e-5, 0, 0, 0});
  EXPECT_EQ(channel.WriteToHost(fixture.host, cone.id), kObjectDataWritten);
  EXPECT_EQ(fixture.Log().infoStores.back().second, kStoreObjectData);
  EXPECT_EQ(cone.data.shape.cone.upperRadius, 2e-5);
}

TEST(ShapeChannels, SpotLightsKeepTheLightsColourFirst) {
  HostFixture fixture;
  host::SceneObject& spot = fixture.Add(abi::kTypeSpotLight, "Spot");
  spot.data.shape.light.color[1] = 0.5;
  spot.data.shape.light.tightness = 7;
  SpotLightChannel channel;
  channel.ReadFromHost(fixture.host, spot.id, ReadRecord(fixture, spot.id).info);
  EXPECT_EQ(channel.ParamType(9), ValueType::Color);
  EXPECT_EQ(channel.GetValue(9), (ParamValue{0, 0.5, 0, 0}));
  EXPECT_EQ(channel.ParamName(12), "Tightness");
  EXPECT_EQ(channel.GetValue(12).x, 7.0);
  EXPECT_EQ(channel.SavedSize(), 76u + 48u);
  EXPECT_EQ(Saved(channel).size(), channel.SavedSize());
  SpotLightChannel loaded;
  EXPECT_TRUE(LoadAll(loaded, Saved(channel)));
  ExpectSameValues(loaded, channel);
}

TEST(ShapeChannels, TextBlendsItsThreeDoublesWithoutParameters) {
  TextChannel earlier, later, blended;
  earlier.SetValue(9, {1, 0, 0, 0});  // no parameter there: ignored
  EXPECT_EQ(earlier.ParamCount(), 9);
  HostFixture fixture;
  host::SceneObject& text = fixture.Add(abi::kTypeText, "Text");
  text.data.shape.text.size = 2.0;
  earlier.ReadFromHost(fixture.host, text.id, ReadRecord(fixture, text.id).info);
  text.data.shape.text.size = 4.0;
  text.data.shape.text.depth = 1.0;
  later.ReadFromHost(fixture.host, text.id, ReadRecord(fixture, text.id).info);
  blended.BlendExtra(0.25, 0.0, earlier, later, TrackCurves());
  EXPECT_EQ(blended.WriteToHost(fixture.host, text.id), kObjectDataWritten);
  EXPECT_DOUBLE_EQ(text.data.shape.text.size, 2.5);
  EXPECT_DOUBLE_EQ(text.data.shape.text.depth, 0.25);
}

TEST(ProfileChannel, BlendsOutlinePointsAndRoundTrips) {
  HostFixture fixture;
  host::SceneObject& lathe = fixture.Add(abi::kTypeLathe, "Lathe");
  lathe.profile = {{0, 0, 0, 0, 0}, {1, 2, 0, 0, 0}};
  lathe.data.shape.profile.pointCount = 2;
  lathe.data.shape.profile.splineKind = 3;
  lathe.data.shape.profile.extrusion[1] = 4.0;
  ProfileChannel earlier, later, blended;
  earlier.ReadFromHost(fixture.host, lathe.id, ReadRecord(fixture, lathe.id).info);
  lathe.profile[1].x = 3;
  lathe.data.shape.profile.splineKind = 1;
  later.ReadFromHost(fixture.host, lathe.id, ReadRecord(fixture, lathe.id).info);
  blended.BlendExtra(0.5, 0.0, earlier, later, TrackCurves());
  ASSERT_EQ(blended.Points().size(), 2u);
  EXPECT_EQ(blended.Points()[1].x, 2.0);
  EXPECT_EQ(blended.Second(), 4.0);
  const auto bytes = Saved(blended);
  EXPECT_EQ(bytes.size(), blended.SavedSize());
  ProfileChannel loaded;
  EXPECT_TRUE(LoadAll(loaded, bytes));
  EXPECT_EQ(loaded.Points().size(), 2u);
  EXPECT_EQ(loaded.Second(), 4.0);
  EXPECT_EQ(blended.WriteToHost(fixture.host, lathe.id), kObjectDataWritten);
  EXPECT_EQ(lathe.data.shape.profile.splineKind, 3u) << "the setting comes from the earlier key";
  EXPECT_EQ(lathe.profile[1].x, 2.0) << "the blended point reaches the host";
  EXPECT_EQ(fixture.Log().arrayStores, std::vector<uint32_t>{lathe.id});
  EXPECT_EQ(blended.WriteToHost(fixture.host, lathe.id), kUnchanged) << "nothing moved since";
  ProfileChannel empty;
  EXPECT_TRUE(LoadAll(empty, Saved(ProfileChannel())));
  EXPECT_TRUE(empty.Points().empty());
}

TEST(SplineMeshChannel, PosingMovesTheHostsControlPoints) {
  HostFixture fixture;
  host::SceneObject& mesh = fixture.Add(abi::kTypeSplineMesh, "Mesh");
  mesh.splinePoints = {0, 0, 0, 1, 1, 1};
  mesh.data.shape.splineMesh.pointCount = 2;
  SplineMeshChannel earlier, later, blended;
  earlier.ReadFromHost(fixture.host, mesh.id, ReadRecord(fixture, mesh.id).info);
  mesh.splinePoints[4] = 5;
  later.ReadFromHost(fixture.host, mesh.id, ReadRecord(fixture, mesh.id).info);
  blended.BlendExtra(0.25, 0.0, earlier, later, TrackCurves());
  EXPECT_EQ(blended.WriteToHost(fixture.host, mesh.id), kObjectDataWritten);
  EXPECT_EQ(mesh.splinePoints, (std::vector<double>{0, 0, 0, 1, 2, 1}));
  mesh.splinePoints.resize(3);  // the host's mesh lost a point: nothing is written
  EXPECT_EQ(blended.WriteToHost(fixture.host, mesh.id), kUnchanged);
}

TEST(CameraChannel, ReadsBothRecordsSavesNamesAndBlendsFromTheEarlierKey) {
  HostFixture fixture;
  host::SceneObject& target = fixture.Add(abi::kTypeSphere, "Target");
  host::SceneObject& camera = fixture.Add(abi::kTypeCamera, "Camera");
  camera.linkB = target.id;
  camera.params.rotate[0] = 5;       // look at
  camera.params.translate[2] = -10;  // location
  camera.data.shape.camera.fieldOfView = 60;
  camera.data.shape.camera.focalSamples = 9;
  CameraChannel earlier;
  earlier.ReadFromHost(fixture.host, camera.id, ReadRecord(fixture, camera.id).info);
  EXPECT_EQ(earlier.GetValue(0).x, 5.0);
  EXPECT_EQ(earlier.GetValue(1).z, -10.0);
  EXPECT_EQ(earlier.GetValue(3).x, 60.0);
  EXPECT_EQ(earlier.GetValue(7).x, 9.0);
  EXPECT_EQ(earlier.LookAtObjectName(), "Target");
  EXPECT_EQ(earlier.LocationObjectName(), "");

  CameraChannel later;
  later.SetValue(6, {0.5, 0, 0, 0});
  EXPECT_EQ(later.GetValue(6).x, 1.0);
  later.SetValue(7, {3.9, 0, 0, 0});
  EXPECT_EQ(later.GetValue(7).x, 3.0);
  CameraChannel blended;
  blended.BlendExtra(0.9, 0.9, earlier, later, TrackCurves());
  EXPECT_EQ(blended.LookAtObjectName(), "Target");
  EXPECT_EQ(blended.LookAtObject(), target.id);

  const auto bytes = Saved(earlier);
  EXPECT_EQ(bytes.size(), earlier.SavedSize());
  EXPECT_EQ(bytes.size(), 120u + 6u);
  CameraChannel loaded;
  EXPECT_TRUE(LoadAll(loaded, bytes));
  ExpectSameValues(loaded, earlier);
  EXPECT_EQ(loaded.LookAtObject(), 0u);
  loaded.ResolveLinks(fixture.host);
  EXPECT_EQ(loaded.LookAtObject(), target.id);

  earlier.SetValue(1, {0, 0, -20, 0});
  earlier.SetValue(3, {30, 0, 0, 0});
  EXPECT_EQ(earlier.WriteToHost(fixture.host, camera.id), kObjectDataWritten);
  EXPECT_EQ(camera.params.translate[2], -20.0);
  EXPECT_EQ(camera.data.shape.camera.fieldOfView, 30.0);
}

TEST(TextureNodeChannels, ReadWriteAndRoundTripEachNodeKind) {
  HostFixture fixture;
  host::SceneObject& node = fixture.Add(abi::kTypeTextureNode, "Node");
  node.node.kind = abi::kNodeTransform;
  node.node.params.transform.rotate[1] = 30;
  node.node.params.transform.scale[0] = 2;
  SpecialTransformChannel transform;
  transform.ReadFromHost(fixture.host, node.id, ReadRecord(fixture, node.id).info);
  EXPECT_EQ(transform.GetValue(0).y, -30.0) << "the rotation is kept negated";
  EXPECT_EQ(transform.GetValue(1).x, 2.0);
  EXPECT_EQ(transform.ParamName(0), "Spline");
  EXPECT_EQ(transform.WriteToHost(fixture.host, node.id), kUnchanged);
  transform.SetValue(0, {0, -45, 0, 0});
  EXPECT_EQ(transform.WriteToHost(fixture.host, node.id), kObjectDataWritten);
  EXPECT_EQ(fixture.Log().infoStores.back().second, kStoreTextureNodeTransform);
  EXPECT_EQ(double{node.node.params.transform.rotate[1]}, 45.0);  // a packed field, read by value

  SpecialScaleChannel noise;
  node.node.params.noise = {};
  node.node.params.noise.turbulence = 0.3;
  noise.ReadFromHost(fixture.host, node.id, ReadRecord(fixture, node.id).info);
  EXPECT_TRUE(noise.TurbulenceOn());
  EXPECT_EQ(noise.Turbulence().z, 0.3) << "a single factor serves every axis";

  const SpecialColorChannel color;
  const SpecialTextureChannel finish;
  const AnimChannel* channels[] = {&transform, &noise, &color, &finish};
  const uint32_t sizes[] = {72, 76, 40, 112};
  for (int i = 0; i < 4; ++i) {
    const auto bytes = Saved(*channels[i]);
    EXPECT_EQ(bytes.size(), sizes[i]);
    EXPECT_EQ(channels[i]->SavedSize(), sizes[i]);
    auto copy = channels[i]->Clone();
    EXPECT_TRUE(LoadAll(*copy, bytes, 5)) << "texture nodes read the same at every version";
    EXPECT_EQ(Saved(*copy), bytes);
  }
}

TEST(ChannelFactory, PicksTheClassByTypeAndNodeKind) {
  auto is = [](uint32_t type, uint32_t sub, auto* sample) {
    auto channel = MakeChannel(type, sub);
    return dynamic_cast<std::remove_pointer_t<decltype(sample)>*>(channel.get()) != nullptr;
  };
  EXPECT_TRUE(is(5, 0, static_cast<CameraChannel*>(nullptr)));
  EXPECT_TRUE(is(7, 0, static_cast<ProfileChannel*>(nullptr)));
  EXPECT_TRUE(is(20, 0, static_cast<LightChannel*>(nullptr)));
  EXPECT_TRUE(is(19, 0, static_cast<SpotLightChannel*>(nullptr)));
  EXPECT_TRUE(is(13, 0, static_cast<SplineMeshChannel*>(nullptr)));
  EXPECT_TRUE(is(27, 0, static_cast<SuperquadricChannel*>(nullptr)));
  EXPECT_TRUE(is(11, 41, static_cast<SpecialColorChannel*>(nullptr)));
  EXPECT_TRUE(is(11, 19, static_cast<SpecialTextureChannel*>(nullptr)));
  EXPECT_TRUE(is(11, 25, static_cast<SpecialScaleChannel*>(nullptr)));
  EXPECT_EQ(MakeChannel(11, 23), nullptr);
  EXPECT_EQ(MakeChannel(11, 1), nullptr);
  for (uint32_t plain : {1u, 2u, 3u, 29u, 4107u}) {
    auto channel = MakeChannel(plain, 0);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(typeid(*channel), typeid(TransformChannel)) << plain;
  }
}

TEST(KeySnapshot, WithoutAChannelAnswersDefaultsAndCopiesDeeply) {
  KeySnapshot empty;
  EXPECT_EQ(empty.ParamCount(), 0);
  EXPECT_EQ(empty.ParamType(0), ValueType::NoChannel);
  EXPECT_FALSE(empty.HasTangents(0));
  EXPECT_EQ(empty.SavedSize(), 0u);
  EXPECT_EQ(empty.GetParam(0).value, ParamValue{});

  KeySnapshot cone;
  cone.CreateChannel(abi::kTypeCone, 0);
  EXPECT_EQ(cone.ParamCount(), 11);
  cone.SetParam(10, {{4, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}});
  KeySnapshot copy = cone;
  cone.SetParam(10, {{5, 0, 0, 0}, {}, {}});
  EXPECT_EQ(copy.GetParam(10).value.x, 4.0);
  EXPECT_EQ(copy.GetParam(10).outTangent.x, 2.0);
  EXPECT_EQ(copy.GetParam(11).inTangent, ParamValue{}) << "beyond the parameters: zeros";
}

TEST(ChunkReader, RefusesCutOffDataAndHugeCounts) {
  TransformChannel channel;
  channel.SetValue(0, {1, 2, 3, 0});
  auto bytes = Saved(channel);
  bytes.resize(bytes.size() - 1);
  TransformChannel cut;
  EXPECT_THROW(LoadAll(cut, bytes), ChunkFormatError);

  SplineMeshChannel mesh;
  auto meshBytes = Saved(mesh);
  const uint32_t huge = 0x7FFFFFFF;
  std::memcpy(meshBytes.data() + 76, &huge, 4);
  EXPECT_THROW(LoadAll(mesh, meshBytes), ChunkFormatError);
}

}  // namespace
}  // namespace lumetra::keyframe
