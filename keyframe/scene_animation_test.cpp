#include "keyframe/scene_animation.h"

#include <gtest/gtest.h>

#include "abi/result_codes.h"
#include "keyframe/camera_channel.h"
#include "keyframe/testing/host_fixture.h"
#include "keyframe/track_evaluation.h"
#include "platform/debug_log.h"

namespace lumetra::keyframe {
namespace {

using testing::HostFixture;

// The substitute host, which can hold Shift down.
abi::host_fn::GetHostValue g_hostGetHostValue = nullptr;
bool g_shiftHeld = false;

int32_t LUMETRA_STDCALL GetHostValueWithShift(int32_t selector, void* value) {
  if (selector != abi::kHostValueShiftKey) return g_hostGetHostValue(selector, value);
  *static_cast<uint32_t*>(value) = g_shiftHeld ? 1 : 0;
  return abi::kOk;
}

class SceneAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_hostGetHostValue = fixture_.record.getHostValue;
    fixture_.record.getHostValue = GetHostValueWithShift;
    g_shiftHeld = false;
  }

  host::SceneObject& Add(uint32_t type, const std::string& name, uint32_t parent = 0) {
    return fixture_.Add(type, name, parent);
  }
  void MoveTo(host::SceneObject& object, double x) { object.params.translate[0] = x; }
  double X(uint32_t id) { return fixture_.Object(id).params.translate[0]; }
  void KeyAt(host::SceneObject& object, int32_t time, double x, int32_t kind = 1) {
    MoveTo(object, x);
    animation_.SetKeys(object.id, time, kind, false);
  }

  HostFixture fixture_;
  SceneAnimation animation_{fixture_.host};
};

TEST_F(SceneAnimationTest, KeyingMakesATrackAndTheLatestKindHoldsForAllItsKeys) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 0, 0.0, 0);
  KeyAt(ball, 4800, 10.0, 2);
  KeyAt(ball, 4800, 12.0, 2);  // the same time: the key is read again
  const ObjectTrack* track = animation_.FindTrack(ball.id);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->Name(), "Ball");
  EXPECT_EQ(track->KeyCount(), 2);
  EXPECT_EQ(track->InterpolationKind(), Interpolation::Cubic);
  EXPECT_EQ(track->Keys()[1].snapshot.GetValue(2).x, 12.0);
  EXPECT_EQ(track->Curves().SlotCount(), 9);
  EXPECT_EQ(fixture_.Log().redraws.size(), 3u);

  host::SceneObject& nameless = Add(abi::kTypeSphere, "");
  animation_.SetKeys(nameless.id, 0, 1, false);
  animation_.SetKeys(999, 0, 1, false);
  EXPECT_EQ(animation_.TrackCount(), 1) << "no key without a name or an object";
}

TEST_F(SceneAnimationTest, PosingTakesTheFirstKeyBeforeAndTheLastAfterAndBlendsBetween) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 4800, 10.0);
  KeyAt(ball, 9600, 20.0);
  fixture_.scene.selected = ball.id;
  fixture_.Log() = {};
  animation_.GoToTime(0, true);
  EXPECT_EQ(X(ball.id), 10.0);
  EXPECT_EQ(fixture_.Log().updateModes, (std::vector<int32_t>{2, 1}));
  ASSERT_EQ(fixture_.Log().changes.size(), 1u);
  EXPECT_EQ(fixture_.Log().changes[0], (std::pair<uint32_t, uint32_t>{ball.id, 16}));
  animation_.GoToTime(7200, false);
  EXPECT_DOUBLE_EQ(X(ball.id), 15.0);
  EXPECT_EQ(fixture_.Log().changes.size(), 1u) << "no change notice without notifySelected";
  EXPECT_EQ(fixture_.Log().updateModes.back(), 0);
  animation_.GoToTime(20000, true);
  EXPECT_EQ(X(ball.id), 20.0);
  const size_t stores = fixture_.Log().paramStores.size();
  animation_.GoToTime(20000, true);
  EXPECT_EQ(fixture_.Log().paramStores.size(), stores) << "nothing written when nothing changed";
}

TEST_F(SceneAnimationTest, AStepTrackHoldsItsOutlineUntilTheNextKeyALinearOneBlendsIt) {
  host::SceneObject& lathe = Add(abi::kTypeLathe, "Lathe");
  lathe.profile = {{0, 0, 0, 0, 0}, {1, 2, 0, 0, 0}};
  lathe.data.shape.profile.pointCount = 2;
  KeyAt(lathe, 0, 0.0, 0);
  lathe.profile[1].x = 3;
  KeyAt(lathe, 4800, 10.0, 0);
  animation_.GoToTime(2400, false);
  EXPECT_EQ(X(lathe.id), 0.0);
  EXPECT_EQ(lathe.profile[1].x, 1.0);
  animation_.SetTrackInterpolation(lathe.id, 1);
  animation_.GoToTime(2400, false);
  EXPECT_DOUBLE_EQ(X(lathe.id), 5.0);
  EXPECT_DOUBLE_EQ(lathe.profile[1].x, 2.0);
}

TEST_F(SceneAnimationTest, KeyStatesAndTwoKeysAtOneTime) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  EXPECT_EQ(animation_.KeyStateAt(ball.id, 0), KeyState::NoKeys);
  KeyAt(ball, 100, 1.0);
  KeyAt(ball, 300, 3.0);
  EXPECT_EQ(animation_.KeyStateAt(ball.id, 0), KeyState::BeforeFirst);
  EXPECT_EQ(animation_.KeyStateAt(ball.id, 100), KeyState::AtKey);
  EXPECT_EQ(animation_.KeyStateAt(ball.id, 200), KeyState::BetweenKeys);
  EXPECT_EQ(animation_.KeyStateAt(ball.id, 301), KeyState::AfterLast);

  ObjectTrack track("T", abi::kTypeSphere, 0);
  KeySnapshot first, second;
  first.CreateChannel(abi::kTypeSphere, 0);
  second.CreateChannel(abi::kTypeSphere, 0);
  first.SetValue(2, {1, 0, 0, 0});
  second.SetValue(2, {2, 0, 0, 0});
  EXPECT_TRUE(track.InsertKey(50, first));
  EXPECT_FALSE(track.InsertKey(50, second));
  track.RebuildCurves();
  EXPECT_EQ(EvaluateTrack(track, 50).Channel()->GetValue(2).x, 1.0) << "the earlier key wins";
}

TEST_F(SceneAnimationTest, CubicKeysFollowTheHermiteBasisAndRotationsTurnThroughQuaternions) {
  // Transform parameters keep their own tangents, zero until edited: each key is eased into.
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 0, 0.0, 2);
  KeyAt(ball, 4800, 10.0, 2);
  KeyAt(ball, 9600, 0.0, 2);
  const auto hermite = [](double s, double v0, double t0, double v1, double t1) {
    return (2 * s * s * s - 3 * s * s + 1) * v0 + (s * s * s - 2 * s * s + s) * t0 +
           (3 * s * s - 2 * s * s * s) * v1 + (s * s * s - s * s) * t1;
  };
  animation_.GoToTime(1440, false);
  EXPECT_NEAR(X(ball.id), hermite(0.3, 0.0, 0.0, 10.0, 0.0), 1e-9);
  animation_.GoToTime(2400, false);
  EXPECT_NEAR(X(ball.id), 5.0, 1e-9);

  // A torus radius keeps no tangents: they come from the neighbours (10, 0, -10).
  host::SceneObject& torus = Add(abi::kTypeTorus, "Torus");
  for (auto [time, radius] : {std::pair{0, 0.0}, {4800, 10.0}, {9600, 0.0}}) {
    torus.data.shape.torus.majorRadius = radius;
    animation_.SetKeys(torus.id, time, 2, false);
  }
  animation_.GoToTime(2400, false);
  EXPECT_NEAR(torus.data.shape.torus.majorRadius, hermite(0.5, 0.0, 10.0, 10.0, 0.0), 1e-9);
  EXPECT_NEAR(torus.data.shape.torus.majorRadius, 6.25, 1e-9);

  ObjectTrack track("Box", abi::kTypeBox, 0);
  track.SetInterpolation(static_cast<int32_t>(Interpolation::PairBlend));
  for (int32_t time : {0, 4800}) {
    KeySnapshot key;
    key.CreateChannel(abi::kTypeBox, 0);
    key.SetValue(0, {0, time == 0 ? 0.0 : 90.0, 0, 0});
    key.SetValue(2, {time == 0 ? 0.0 : 8.0, 0, 0, 0});
    track.InsertKey(time, key);
  }
  track.RebuildCurves();
  const TrackEvaluation half = EvaluateTrack(track, 2400);
  EXPECT_EQ(half.state, KeyState::BetweenKeys);
  EXPECT_NEAR(half.Channel()->GetValue(0).y, 45.0, 1e-9);
  EXPECT_DOUBLE_EQ(half.Channel()->GetValue(2).x, 4.0) << "no curve: the pair is blended";
}

TEST_F(SceneAnimationTest, ShiftHeldMovesTheTimeButLeavesTheScene) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 0, 0.0);
  KeyAt(ball, 4800, 10.0);
  g_shiftHeld = true;
  animation_.SetCurrentTime(4800);
  EXPECT_EQ(animation_.CurrentTime(), 4800);
  EXPECT_EQ(X(ball.id), 10.0) << "the host keeps the last keyed state";
  MoveTo(ball, 3.0);
  animation_.SetCurrentTime(2400);
  EXPECT_EQ(X(ball.id), 3.0);
  g_shiftHeld = false;
  animation_.SetCurrentTime(1200);
  EXPECT_DOUBLE_EQ(X(ball.id), 2.5);
}

TEST_F(SceneAnimationTest, DeletingTheOnlyKeyLeavesTheObjectAsItWasKeyedAndDropsTheTrack) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 0, 5.0);
  MoveTo(ball, 9.0);
  animation_.DeleteKeys(ball.id, 0, false);
  EXPECT_EQ(animation_.FindTrack(ball.id), nullptr);
  EXPECT_EQ(X(ball.id), 5.0);

  KeyAt(ball, 0, 1.0);
  KeyAt(ball, 100, 2.0);
  KeyAt(ball, 200, 3.0);
  animation_.DeleteFrame(100);
  EXPECT_EQ(animation_.FindTrack(ball.id)->KeyCount(), 2);
  MoveTo(ball, 7.0);
  const size_t stores = fixture_.Log().paramStores.size();
  animation_.DeleteAll();
  EXPECT_EQ(animation_.TrackCount(), 0);
  EXPECT_EQ(fixture_.Log().paramStores.size(), stores) << "deleting everything writes nothing";
  EXPECT_EQ(X(ball.id), 7.0);

  KeyAt(ball, 0, 1.0);
  KeyAt(ball, 100, 2.0);
  animation_.DeleteTrack(ball.id);
  EXPECT_EQ(animation_.FindTrack(ball.id), nullptr);
  EXPECT_EQ(X(ball.id), 2.0) << "the last key went last and was written";
}

TEST_F(SceneAnimationTest, ObjectWalksKeyTheChainAboveAndDeletingSkipsTextureNodes) {
  host::SceneObject& root = Add(abi::kTypeGroup, "Root");
  host::SceneObject& group = Add(abi::kTypeGroup, "Group", root.id);
  host::SceneObject& child = Add(abi::kTypeSphere, "Child", group.id);
  host::SceneObject& sibling = Add(abi::kTypeBox, "Sibling", group.id);
  host::SceneObject& uncle = Add(abi::kTypeCsg, "Uncle", root.id);
  host::SceneObject& cousin = Add(abi::kTypeBox, "Cousin", uncle.id);
  host::SceneObject& material = Add(abi::kTypeTextureNode, "Material", root.id);
  host::SceneObject& colour = Add(abi::kTypeTextureNode, "Colour", material.id);
  colour.node.kind = abi::kNodeSolidColor;
  host::SceneObject& outside = Add(abi::kTypeBox, "Outside");

  animation_.SetKeys(child.id, 0, 1, true);
  for (uint32_t id : {root.id, group.id, child.id, sibling.id, uncle.id, cousin.id, material.id, colour.id}) {
    EXPECT_NE(animation_.FindTrack(id), nullptr) << fixture_.Object(id).name;
  }
  EXPECT_EQ(animation_.FindTrack(outside.id), nullptr);
  EXPECT_EQ(animation_.FindTrack(colour.id)->SubType(), abi::kNodeSolidColor);

  animation_.SetKeys(child.id, 100, 1, true);
  animation_.DeleteKeys(child.id, 100, true);
  EXPECT_EQ(animation_.FindTrack(cousin.id)->KeyCount(), 1);
  EXPECT_EQ(animation_.FindTrack(colour.id)->KeyCount(), 2) << "texture nodes are not entered";
  EXPECT_EQ(animation_.FindTrack(material.id)->KeyCount(), 1) << "the node itself is a child of the chain";

  animation_.SetTrackInterpolation(group.id, 0);
  EXPECT_EQ(animation_.TrackInterpolation(sibling.id), 0);
  EXPECT_EQ(animation_.TrackInterpolation(cousin.id), 1);
  EXPECT_EQ(animation_.TrackInterpolation(outside.id), 1);
}

TEST_F(SceneAnimationTest, KeyTimesFollowTheKeyStepsMode) {
  host::SceneObject& group = Add(abi::kTypeGroup, "Group");
  host::SceneObject& a = Add(abi::kTypeSphere, "A", group.id);
  host::SceneObject& b = Add(abi::kTypeSphere, "B");
  KeyAt(a, 100, 1.0);
  KeyAt(b, 200, 1.0);
  KeyAt(group, 300, 1.0);
  fixture_.scene.selected = group.id;
  animation_.RebuildKeyTimes();
  EXPECT_EQ(animation_.KeyTimes(), (std::set<int32_t>{300}));
  animation_.SetKeyStepsMode(KeySteps::Object);
  animation_.RebuildKeyTimes();
  EXPECT_EQ(animation_.KeyTimes(), (std::set<int32_t>{100, 300}));
  animation_.SetKeyStepsMode(KeySteps::Scene);
  animation_.RebuildKeyTimes();
  EXPECT_EQ(animation_.KeyTimes(), (std::set<int32_t>{100, 200, 300}));

  host::SceneObject& reference = Add(abi::kObjectTypeReference, "Ref");
  animation_.ClearKeyTimes();
  animation_.SetKeyStepsMode(KeySteps::Selected);
  reference.parent = b.id;  // the chain word of a reference names the object it stands for
  animation_.AddKeyTimes(reference.id);
  EXPECT_EQ(animation_.KeyTimes(), (std::set<int32_t>{200}));
}

TEST_F(SceneAnimationTest, MovingKeysKeepsAKeyAlreadyThere) {
  host::SceneObject& a = Add(abi::kTypeSphere, "A");
  host::SceneObject& b = Add(abi::kTypeSphere, "B");
  KeyAt(a, 100, 1.0);
  KeyAt(a, 200, 2.0);
  KeyAt(b, 100, 5.0);
  fixture_.scene.selected = a.id;
  animation_.MoveKeys(100, 200);
  EXPECT_EQ(animation_.FindTrack(a.id)->KeyCount(), 1);
  EXPECT_EQ(animation_.FindTrack(a.id)->Keys()[0].snapshot.GetValue(2).x, 2.0);
  EXPECT_NE(animation_.FindTrack(b.id)->FindKey(100), nullptr)
      << "mode 0 moves the selected object's keys only";
  animation_.SetKeyStepsMode(KeySteps::Scene);
  animation_.MoveKeys(100, 150);
  EXPECT_NE(animation_.FindTrack(b.id)->FindKey(150), nullptr);
}

TEST_F(SceneAnimationTest, RescalingMapsTheRangeAndShiftsWhatLiesOutside) {
  host::SceneObject& a = Add(abi::kTypeSphere, "A");
  for (int32_t time : {-100, 0, 500, 999, 1000, 1200}) KeyAt(a, time, time);
  animation_.SetRange(0, 1000);
  animation_.SetKeyStepsMode(KeySteps::Scene);
  animation_.RescaleTime(100, 400);
  std::vector<int32_t> times;
  for (const TrackKey& key : animation_.FindTrack(a.id)->Keys()) times.push_back(key.time);
  // 999 maps to 100 + trunc(999 * 0.3) = 399.
  EXPECT_EQ(times, (std::vector<int32_t>{0, 100, 250, 399, 400, 600}));
  EXPECT_EQ(animation_.FindTrack(a.id)->Keys()[2].snapshot.GetValue(2).x, 500.0);
  animation_.RescaleTime(100, 100);  // everything inside collapses onto one time: the first key stays
  ASSERT_EQ(animation_.FindTrack(a.id)->KeyCount(), 1);
  EXPECT_EQ(animation_.FindTrack(a.id)->Keys()[0].snapshot.GetValue(2).x, -100.0);
}

TEST_F(SceneAnimationTest, PendingTracksFindTheirObjectsByName) {
  host::SceneObject& target = Add(abi::kTypeSphere, "Target");
  host::SceneObject& camera = Add(abi::kTypeCamera, "Renamed Camera");
  auto cameraTrack = std::make_unique<ObjectTrack>("Camera", abi::kTypeCamera, 0);
  camera.linkB = target.id;
  KeySnapshot key;
  key.CreateChannel(abi::kTypeCamera, 0);
  ObjectRecord record;
  ASSERT_EQ(fixture_.host.ReadObject(camera.id, record, false), 0);
  key.Channel()->ReadFromHost(fixture_.host, camera.id, record.info);
  dynamic_cast<CameraChannel*>(key.Channel())->ResolveLinks(HostScene());  // as read from a file: names only
  cameraTrack->InsertKey(0, key);
  animation_.AddPendingTrack(std::move(cameraTrack));
  animation_.AddPendingTrack(std::make_unique<ObjectTrack>("Gone", abi::kTypeSphere, 0));
  animation_.RenamePendingTrack("Camera", "Renamed Camera");
  animation_.AttachPendingTracks();
  EXPECT_TRUE(animation_.PendingTracks().empty());
  EXPECT_EQ(animation_.TrackCount(), 1);
  const ObjectTrack* track = animation_.FindTrack(camera.id);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(dynamic_cast<const CameraChannel*>(track->Keys()[0].snapshot.Channel())->LookAtObject(),
            target.id);
}

TEST_F(SceneAnimationTest, AMergedTrackJoinsTheKeysOfAnObjectKeyedAlready) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  KeyAt(ball, 0, 1.0);
  KeyAt(ball, 4800, 2.0);
  // The merged file keys the ball at 4800 and 9600, linearly, and names a box "Ball" too.
  auto merged = std::make_unique<ObjectTrack>("Ball", abi::kTypeSphere, 0);
  merged->SetInterpolation(2);
  for (const auto& [time, x] : {std::pair{4800, 20.0}, {9600, 30.0}}) {
    MoveTo(ball, x);
    KeySnapshot key;
    key.CreateChannel(abi::kTypeSphere, 0);
    ObjectRecord record;
    ASSERT_EQ(fixture_.host.ReadObject(ball.id, record, false), 0);
    key.Channel()->ReadFromHost(fixture_.host, ball.id, record.info);
    merged->InsertKey(time, std::move(key));
  }
  animation_.AddPendingTrack(std::move(merged));
  animation_.AddPendingTrack(std::make_unique<ObjectTrack>("Ball", abi::kTypeBox, 0));
  platform::DebugLog::Clear();
  animation_.AttachPendingTracks();

  const ObjectTrack* track = animation_.FindTrack(ball.id);
  ASSERT_NE(track, nullptr);
  ASSERT_EQ(track->KeyCount(), 3);
  EXPECT_EQ(track->Keys()[0].snapshot.GetValue(2).x, 1.0);
  EXPECT_EQ(track->Keys()[1].snapshot.GetValue(2).x, 2.0) << "the object's own key stays";
  EXPECT_EQ(track->Keys()[2].snapshot.GetValue(2).x, 30.0);
  EXPECT_EQ(track->StoredInterpolation(), 1);
  EXPECT_EQ(track->Curves().Find(2)->Evaluate(1.0).x, 30.0) << "the curves know the joined key";
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{
                "Key of 'Ball' at 4800 from the file dropped: the object has its own key there\n",
                "Track of 'Ball' from the file dropped: the object's own track is of another kind\n"}));
}

}  // namespace
}  // namespace lumetra::keyframe
