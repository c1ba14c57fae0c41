#include "animation/frame_poser.h"

#include <gmock/gmock.h>

#include "keyframe/host_scene.h"
#include "keyframe/interpolation.h"
#include "texture/finish.h"
#include "translate/camera_view.h"
#include "translate/testing/translation_fixture.h"

namespace lumetra::animation {
namespace {

using ::testing::Contains;
using ::testing::DoubleEq;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using translate::testing::After;
using translate::testing::Arguments;

constexpr int32_t kLinear = static_cast<int32_t>(keyframe::Interpolation::Linear);

class FramePosing : public translate::testing::TranslationTest {
 protected:
  // Translates the objects, then keys them through the host as the control bar would.
  void Translate(const std::string& objects, const std::string& extra = "") {
    TranslateObjects(objects, extra);
  }

  host::SceneObject& Object(const std::string& name) { return *scene_->Find(scene_->FindByName(name)->id); }
  L2Primitive Prim(const std::string& name) const {
    return static_cast<L2Primitive>(recorder_.FiledValue(name));
  }

  void Key(const std::string& name, int32_t time) {
    animation_.SetHost(keyframe::HostScene(&record_));
    animation_.SetKeys(Object(name).id, time, kLinear, false);
  }

  // Poses at `time`; the calls that made are kept in posed_.
  void PoseAt(int32_t time) {
    if (!poser_) poser_ = std::make_unique<FramePoser>(job_, record_, animation_);
    const size_t before = recorder_.Calls().size();
    poser_->Pose(time);
    const auto all = recorder_.Calls();
    posed_.assign(all.begin() + static_cast<long>(before), all.end());
  }

  std::vector<translate::testing::RecordedCall> Posed(const std::string& entry) const {
    std::vector<translate::testing::RecordedCall> calls;
    for (const auto& call : posed_) {
      if (call.name == entry) calls.push_back(call);
    }
    return calls;
  }
  translate::testing::RecordedCall OnlyPosed(const std::string& entry) const {
    const auto calls = Posed(entry);
    EXPECT_EQ(calls.size(), 1u) << entry;
    return calls.empty() ? translate::testing::RecordedCall{} : calls.front();
  }
  std::vector<std::string> PosedOn(uint32_t handle) const {
    std::vector<std::string> names;
    for (const auto& call : posed_) {
      if (call.arguments.size() > 1 && call.arguments[1] == handle) names.push_back(call.name);
    }
    return names;
  }

  std::vector<translate::testing::RecordedCall> posed_;
  keyframe::SceneAnimation animation_;
  std::unique_ptr<FramePoser> poser_;
};

TEST_F(FramePosing, AnObjectBeforeItsFirstKeyKeepsItsTranslatedPose) {
  Translate(R"({"type": "sphere", "name": "Ball", "transform": {"translate": [1, 2, 3]}})");
  Object("Ball").params.translate[0] = 5;
  Key("Ball", 4800);
  Object("Ball").params.translate[0] = 9;
  Key("Ball", 9600);
  PoseAt(100);
  EXPECT_THAT(PosedOn(Prim("Ball")), IsEmpty());
  PoseAt(7200);
  const auto moves = Posed("TranslatePrim");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(After(moves[0], 2), (Arguments{7, 2, 3})) << "halfway between the keys";
  EXPECT_THAT(PosedOn(Prim("Ball")), Contains("RemovePrimTransform"));
}

TEST_F(FramePosing, AKeyEqualToTheHostStateGivesTheTranslationsOwnPlacement) {
  Load(SceneWith(
      R"({"type": "box", "name": "Crate", "texture": "Checks", "texture_lock": "object",
                     "transform": {"scale": [2, 1, 1], "rotate": [0, 30, 0], "translate": [1, 0, 0]},
                     "texture_transform": {"translate": [0.5, 0, 0]}})",
      R"("materials": [{"kind": "material", "name": "Checks", "children": [{"kind": "texture"}]}])"));
  constexpr uint32_t kChecks = 99;  // the material's user texture
  recorder_.FileName("Checks", kChecks);
  translate::ObjectTranslator(job_, record_).TranslateScene();
  // What the translation placed after making the box.
  const L2Primitive crate = Prim("Crate");
  std::vector<std::string> translated;
  bool made = false;
  for (const auto& call : recorder_.Calls()) {
    made = made || call.result == crate;
    if (made && call.name != "SetNameValue" && call.arguments.size() > 1 && call.arguments[1] == crate) {
      translated.push_back(call.name);
    }
  }
  Key("Crate", 0);
  PoseAt(0);
  std::vector<std::string> posed = PosedOn(crate);
  ASSERT_FALSE(posed.empty());
  EXPECT_EQ(posed.front(), "RemovePrimTransform");
  // Taking the texture off and on again is the posing's own; the rest is the same sequence.
  std::erase_if(posed, [](const std::string& name) {
    return name == "RemovePrimTransform" || name == "GetPrimTexture";
  });
  std::erase(posed, std::string("SetPrimTexture"));
  std::erase(translated, std::string("SetPrimTexture"));
  std::erase(translated, std::string("CreateBox"));
  EXPECT_EQ(posed, translated);
  EXPECT_THAT(Posed("RemoveTextureTransform"), Not(IsEmpty())) << "the texture's placement is made anew";
}

TEST_F(FramePosing, ShapeValuesReachTheLibraryInPlace) {
  Translate(R"({"type": "cone", "name": "Funnel", "upper_radius": 0.2, "lower_radius": 0.6},
               {"type": "torus", "name": "Ring", "major_radius": 1, "minor_radius": 0.1},
               {"type": "point_light", "name": "Lamp", "color": [1, 1, 1]})");
  Key("Funnel", 0);
  Key("Ring", 0);
  Key("Lamp", 0);
  Object("Funnel").data.shape.cone.upperRadius = 0.4;
  Object("Ring").data.shape.torus.minorRadius = 0.3;
  Object("Lamp").data.shape.light.color[1] = 0.0;
  Key("Funnel", 4800);
  Key("Ring", 4800);
  Key("Lamp", 4800);
  PoseAt(2400);
  // The base radius first, the apex radius second.
  EXPECT_THAT(After(OnlyPosed("SetConeRadii"), 2), ElementsAre(0.6, DoubleEq(0.3)));
  // Torus radii are blended between keys, not curved: halfway is halfway.
  EXPECT_EQ(After(OnlyPosed("SetTorusRadii"), 2), (Arguments{1, 0.2}));
  EXPECT_EQ(After(OnlyPosed("SetLightColor"), 2), (Arguments{1, 0.5, 1}));
}

TEST_F(FramePosing, TheCameraIsAimedFromItsKeysAndFollowsItsLinkedObject) {
  Translate(R"({"type": "sphere", "name": "Ball", "transform": {"translate": [0, 1, 0]}})",
            R"("cameras": [{"type": "camera", "name": "Camera", "location": [0, 0, -10], "look_at": [0, 0, 0],
                             "active": true, "look_at_object": "Ball"}])");
  translate::TranslateView(job_, record_);
  Key("Camera", 0);
  Key("Ball", 0);
  Object("Camera").params.translate[0] = 4;
  Key("Camera", 4800);
  Object("Ball").params.translate[1] = 3;
  Key("Ball", 4800);
  PoseAt(4800);
  EXPECT_EQ(After(OnlyPosed("SetViewLocation"), 2), (Arguments{4, 0, -10}));
  // The interest point moves with the ball's pose of the same frame.
  EXPECT_EQ(After(OnlyPosed("SetViewInterest"), 2), (Arguments{0, 3, 0}));
}

TEST_F(FramePosing, ALightWithinAMovingGroupMovesWithIt) {
  Translate(R"({"type": "group", "name": "Rig", "transform": {"translate": [0, 1, 0]}, "children": [
                 {"type": "sphere", "name": "Bulb"},
                 {"type": "point_light", "name": "Lamp", "color": [1, 1, 1], "transform": {"translate": [2, 0, 0]}}]})");
  Key("Rig", 0);
  Object("Rig").params.translate[1] = 5;
  Key("Rig", 4800);
  PoseAt(4800);
  const L2Primitive lamp = Prim("Lamp");
  std::vector<Arguments> moves;
  for (const auto& call : Posed("TranslatePrim")) {
    if (call.arguments[1] == lamp) moves.push_back(After(call, 2));
  }
  // Its own place first, then the group's, as the translation placed it.
  EXPECT_EQ(moves, (std::vector<Arguments>{{2, 0, 0}, {0, 5, 0}}));
  EXPECT_THAT(PosedOn(lamp), Contains("RemovePrimTransform"));
}

TEST_F(FramePosing, AKeyedFinishNodePosesTheFinishTheTranslationMadeOfIt) {
  Load(SceneWith(
      R"({"type": "sphere", "name": "Ball"})",
      R"("materials": [{"kind": "material", "name": "Shiny", "children": [{"kind": "texture", "children": [
                      {"kind": "finish", "name": "Gloss", "ambient": 0.1, "phong": 0.2}]}]}])"));
  texture::Finish finish;  // what the texture translation made of the node and filed under its name
  recorder_.FileName("Gloss", reinterpret_cast<std::uintptr_t>(&finish));
  host::SceneObject& gloss = Object("Gloss");
  Key("Gloss", 0);
  gloss.node.params.finish.ambient = 0.5;
  gloss.node.params.finish.phong = 0.8;
  Key("Gloss", 4800);
  PoseAt(2400);
  // A finish's values are carried from the earlier key, not blended.
  EXPECT_FLOAT_EQ(finish.ambient, 0.1f);
  EXPECT_FLOAT_EQ(finish.phong, 0.2f);
  PoseAt(4800);
  EXPECT_FLOAT_EQ(finish.ambient, 0.5f);
  EXPECT_FLOAT_EQ(finish.phong, 0.8f);
  EXPECT_TRUE(posed_.empty()) << "the render library is not called for a texture node";
}

}  // namespace
}  // namespace lumetra::animation
