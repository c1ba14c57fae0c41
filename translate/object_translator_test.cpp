#include "translate/object_translator.h"

#include <gmock/gmock.h>

#include "translate/testing/translation_fixture.h"

namespace lumetra::translate {
namespace {

using testing::After;
using testing::Arguments;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ObjectTranslation : public testing::TranslationTest {
 protected:
  // The handle filed under name.
  uint32_t Filed(const std::string& name) const { return static_cast<uint32_t>(recorder_.FiledValue(name)); }
};

TEST_F(ObjectTranslation, EachShapeIsMadeInItsUnitFormFromItsOwnValues) {
  TranslateObjects(R"(
    {"type": "box"}, {"type": "sphere"}, {"type": "cylinder", "name": "Open", "open": true},
    {"type": "cylinder", "name": "Closed"}, {"type": "cone", "upper_radius": 0.25, "lower_radius": 0.75},
    {"type": "torus", "name": "Sturm", "major_radius": 2, "minor_radius": 0.5, "sturm": true},
    {"type": "torus", "name": "Fast"}, {"type": "plane"}, {"type": "disc", "inner_radius": 0.3},
    {"type": "superquadric", "e": 0.2, "r": 0.7})");
  EXPECT_EQ(After(Only("CreateBox")), (Arguments{-1, -1, -1, 1, 1, 1}));
  EXPECT_EQ(After(Only("CreateSphere")), (Arguments{0, 0, 0, 1}));
  for (const auto& call : Calls("CreateCylinder")) EXPECT_EQ(After(call), (Arguments{0, 0, 0, 0, 0, 1, 1}));
  // The base radius is the second radius, the apex radius the first.
  EXPECT_EQ(After(Only("CreateCone")), (Arguments{0, 0, 0, 0.75, 0, 0, 1, 0.25}));
  const auto caps = Calls("SetConeEndcaps");
  ASSERT_EQ(caps.size(), 3u);
  EXPECT_EQ(caps[0].arguments, (Arguments{kScene, double(Filed("Open")), 0}));
  EXPECT_EQ(caps[1].arguments, (Arguments{kScene, double(Filed("Closed")), 1}));
  EXPECT_EQ(caps[2].arguments.back(), 1);
  const auto tori = Calls("CreateTorus");
  ASSERT_EQ(tori.size(), 2u);
  EXPECT_EQ(After(tori[0]), (Arguments{0, 0, 0, 0, 0, 1, 2, 0.5}));
  const auto solvers = Calls("SetTorusSolver");
  ASSERT_EQ(solvers.size(), 2u);
  EXPECT_EQ(solvers[0].arguments, (Arguments{kScene, double(Filed("Sturm")), 2}));
  EXPECT_EQ(solvers[1].arguments, (Arguments{kScene, double(Filed("Fast")), 1}));
  const auto discs = Calls("CreateDisc");
  ASSERT_EQ(discs.size(), 2u);
  EXPECT_EQ(After(discs[0]), (Arguments{0, 0, 0, 0, 0, 1, 0, 10000}));
  EXPECT_EQ(After(discs[1]), (Arguments{0, 0, 0, 0, 0, 1, 0.3, 1}));
  // The second exponent first.
  EXPECT_EQ(After(Only("CreateSuperQ")), (Arguments{0.7, 0.2}));
}

TEST_F(ObjectTranslation, AnUnrenderedObjectMakesNothingAndANameIsUsedOnce) {
  TranslateObjects(R"(
    {"type": "sphere", "name": "Hidden", "render": false},
    {"type": "sphere", "name": "Twin"}, {"type": "box", "name": "Twin", "transform": {"scale": [2, 2, 2]}})");
  const auto spheres = Calls("CreateSphere");
  ASSERT_EQ(spheres.size(), 1u);
  EXPECT_THAT(Calls("CreateBox"), IsEmpty());
  EXPECT_THAT(Calls("ScalePrim"), IsEmpty());  // the second Twin is the first one's primitive
  EXPECT_THAT(recorder_.FiledNames(), ElementsAre("Twin"));
  EXPECT_EQ(Filed("Twin"), spheres[0].result);
  EXPECT_THAT(job_.keptNames, ElementsAre("Twin"));
}

TEST_F(ObjectTranslation, ANameThatHoldsAMaterialCameraOrTextureNodeIsNoPrimitive) {
  Load(SceneWith(R"({"type": "group", "name": "Pair", "children": [
    {"type": "sphere", "name": "Stone"}, {"type": "box", "name": "Eye"}, {"type": "disc", "name": "Node"}]})"));
  recorder_.FileName("Stone", 500);  // a user texture, a view and a texture node's address
  recorder_.FileName("Eye", 501);
  recorder_.FileName("Node", 0x7f001000);
  ObjectTranslator(job_, record_).TranslateScene();
  const auto leaves = Calls("CreateCSGPrim");
  ASSERT_EQ(leaves.size(), 3u);
  EXPECT_EQ(leaves[0].arguments[1], Made("CreateSphere"));
  EXPECT_EQ(leaves[1].arguments[1], Made("CreateBox"));
  EXPECT_EQ(leaves[2].arguments[1], Made("CreateDisc"));
  EXPECT_NE(Filed("Pair"), 0u);
}

TEST_F(ObjectTranslation, ShadowsLocalTransformThenTransformThenName) {
  TranslateObjects(R"(
    {"type": "sphere", "name": "Placed", "no_shadows": true,
     "local_transform": {"scale": [0.5, 1, 1], "rotate": [0, 0, 45], "translate": [0, 0, 0]},
     "transform": {"scale": [2, 3, 4], "rotate": [10, 20, 30], "translate": [1, 2, 3]}},
    {"type": "box", "transform": {"scale": [1, 1, 1], "rotate": [0, 0, 0], "translate": [0, 0, 0]}})");
  const uint32_t sphere = Made("CreateSphere");
  EXPECT_THAT(CallsOn(sphere), ElementsAre("PrimCastsShadows", "ScalePrim", "RotatePrim", "ScalePrim",
                                           "RotatePrim", "TranslatePrim", "SetNameValue"));
  EXPECT_EQ(After(Only("PrimCastsShadows"), 2), Arguments{0});
  const auto rotations = Calls("RotatePrim");
  EXPECT_EQ(After(rotations[0], 2), (Arguments{0, 0, -45}));
  EXPECT_EQ(After(rotations[1], 2), (Arguments{-10, -20, -30}));
  EXPECT_EQ(After(Calls("ScalePrim")[1], 2), (Arguments{2, 3, 4}));
  EXPECT_EQ(After(Only("TranslatePrim"), 2), (Arguments{1, 2, 3}));
  EXPECT_THAT(CallsOn(Made("CreateBox")), IsEmpty());  // an identity transform makes no calls
}

TEST_F(ObjectTranslation, AZeroScaleComponentFlattensRatherThanLeavesTheObjectUnscaled) {
  TranslateObjects(R"({"type": "sphere", "transform": {"scale": [4, 0, -2]}},
                      {"type": "box", "transform": {"scale": [0, 0, 0]}})");
  const auto scales = Calls("ScalePrim");
  ASSERT_EQ(scales.size(), 2u);
  EXPECT_EQ(After(scales[0], 2), (Arguments{4, 1e-6 * 4, -2}));
  EXPECT_EQ(After(scales[1], 2), (Arguments{1e-6, 1e-6, 1e-6}));
}

TEST_F(ObjectTranslation, CsgTreesAreBalancedExceptDifferenceWhichFoldsFromTheLeft) {
  const std::string children = R"("children": [{"type": "sphere"}, {"type": "box"}, {"type": "disc"}])";
  const auto treeOf = [&](const std::string& object) {
    renderlib::testing::RenderCallRecorder fresh;
    TranslateObjects(object);
    const uint32_t a = Made("CreateSphere"), b = Made("CreateBox"), c = Made("CreateDisc");
    const auto leaf = [](uint32_t prim) { return std::to_string(prim); };
    std::string tree = recorder_.CsgTree(Calls("CreateCSG").back().result);
    for (const auto& [prim, letter] : {std::pair{a, "A"}, {b, "B"}, {c, "C"}}) {
      const std::string text = "leaf(" + leaf(prim) + ")";
      tree.replace(tree.find(text), text.size(), letter);
    }
    return tree;
  };
  EXPECT_EQ(treeOf(R"({"type": "group", )" + children + "}"), "(1 A (1 B C))");
  EXPECT_EQ(treeOf(R"({"type": "csg", "operation": "union", )" + children + "}"), "(1 A (1 B C))");
  EXPECT_EQ(treeOf(R"({"type": "csg", "operation": "intersection", )" + children + "}"), "(2 A (2 B C))");
  EXPECT_EQ(treeOf(R"({"type": "csg", "operation": "merge", )" + children + "}"), "(4 A (4 B C))");
  EXPECT_EQ(treeOf(R"({"type": "csg", "operation": "difference", )" + children + "}"), "(3 (3 A B) C)");
}

TEST_F(ObjectTranslation, AGroupOfOneIsItsLeafAnEmptyGroupNothingAndTheGroupTakesItsOwnSteps) {
  TranslateObjects(R"(
    {"type": "group", "name": "Empty"},
    {"type": "csg", "name": "Single", "operation": "difference", "transform": {"translate": [0, 1, 0]},
     "children": [{"type": "sphere", "transform": {"translate": [5, 0, 0]}}]})");
  EXPECT_EQ(recorder_.FiledValue("Empty"), 0u);
  const uint32_t leaf = Made("CreateCSGPrim");
  EXPECT_EQ(Only("CreateCSGPrim").arguments[1], Made("CreateSphere"));
  EXPECT_THAT(Calls("CreateCSG"), IsEmpty());
  EXPECT_EQ(Filed("Single"), leaf);
  EXPECT_THAT(CallsOn(leaf), ElementsAre("TranslatePrim", "SetNameValue"));
  EXPECT_THAT(CallsOn(Made("CreateSphere")), ElementsAre("TranslatePrim", "CreateCSGPrim"));
}

TEST_F(ObjectTranslation, LightsInAGroupArePlacedButNotJoined) {
  TranslateObjects(R"({"type": "group", "children": [
    {"type": "point_light", "name": "Lamp"}, {"type": "sphere"}, {"type": "box"}]})");
  EXPECT_NE(Filed("Lamp"), 0u);
  for (const auto& leaf : Calls("CreateCSGPrim")) EXPECT_NE(leaf.arguments[1], Filed("Lamp"));
  EXPECT_EQ(Calls("CreateCSGPrim").size(), 2u);
}

TEST_F(ObjectTranslation, LightsInGroupsMoveWithEveryEnclosingGroupInnermostFirst) {
  TranslateObjects(R"({"type": "group", "transform": {"translate": [100, 0, 0]}, "children": [
      {"type": "csg", "operation": "union", "transform": {"scale": [2, 2, 2]}, "children": [
        {"type": "point_light", "name": "Lamp", "transform": {"translate": [1, 0, 0]}}, {"type": "box"}]},
      {"type": "group", "children": [{"type": "spot_light", "name": "Spot"}]}]})");
  const auto lamp = static_cast<uint32_t>(Filed("Lamp"));
  EXPECT_THAT(CallsOn(lamp), ElementsAre("SetLightColor", "SetLightShadowing", "SetLightCoeffs",
                                         "SetLightVolumetric", "SetLightAttenuated", "TranslatePrim",
                                         "SetNameValue", "ScalePrim", "TranslatePrim"));
  std::vector<Arguments> moves;
  for (const auto& call : Calls("TranslatePrim")) {
    if (call.arguments[1] == lamp) moves.push_back(After(call, 2));
  }
  EXPECT_THAT(moves, ElementsAre(Arguments{1, 0, 0}, Arguments{100, 0, 0}));
  // The empty group's light moves with the outer group all the same.
  const auto spot = static_cast<uint32_t>(Filed("Spot"));
  EXPECT_EQ(CallsOn(spot).back(), "TranslatePrim");
}

const std::string kStone = R"("materials": [{"kind": "material", "name": "Stone", "children": [
  {"kind": "texture", "children": [{"kind": "pigment", "children": [{"kind": "solid_color", "color": [1, 0, 0]}]}]}]}])";

TEST_F(ObjectTranslation, ATextureTheSceneHoldsIsReferencedAndPlacedByTheTextureTransform) {
  Load(SceneWith(R"(
    {"type": "sphere", "texture": "Stone",
     "texture_transform": {"scale": [2, 2, 2], "rotate": [10, 0, 0], "translate": [0, 0, 1]}},
    {"type": "box", "texture": "Stone"}, {"type": "disc"})",
                 kStone));
  recorder_.FileName("Stone", 500);
  ObjectTranslator(job_, record_).TranslateScene();
  const auto references = Calls("CreateTextureReference");
  ASSERT_EQ(references.size(), 2u);
  EXPECT_EQ(references[0].arguments[1], 500);
  const uint32_t reference = references[0].result;
  EXPECT_EQ(Calls("SetPrimTexture")[0].arguments,
            (Arguments{kScene, double(Made("CreateSphere")), double(reference)}));
  EXPECT_THAT(CallsOn(reference), ElementsAre("ScaleTexture", "RotateTexture", "TranslateTexture"));
  EXPECT_EQ(After(Only("RotateTexture"), 2), (Arguments{-10, 0, 0}));
  EXPECT_THAT(CallsOn(references[1].result), IsEmpty());  // the identity texture transform
  EXPECT_EQ(Calls("SetPrimTexture").size(), 2u);          // the disc has no texture
}

TEST_F(ObjectTranslation, AnUnknownTextureNameLeavesTheObjectWithout) {
  TranslateObjects(R"({"type": "sphere", "texture": "Stone"})", kStone);
  EXPECT_THAT(Calls("CreateTextureReference"), IsEmpty());
  EXPECT_THAT(Calls("SetPrimTexture"), IsEmpty());
}

TEST_F(ObjectTranslation, ALockedTextureGetsTheInverseOfTheObjectsPlacement) {
  Load(SceneWith(R"({"type": "sphere", "texture": "Stone", "texture_lock": "object",
     "transform": {"scale": [2, 4, 8], "rotate": [10, 20, 30], "translate": [1, 2, 3]}})",
                 kStone));
  recorder_.FileName("Stone", 500);
  ObjectTranslator(job_, record_).TranslateScene();
  const uint32_t reference = Made("CreateTextureReference");
  EXPECT_THAT(CallsOn(reference), ElementsAre("TranslateTexture", "RotateTexture", "RotateTexture",
                                              "RotateTexture", "ScaleTexture"));
  EXPECT_EQ(After(Only("TranslateTexture"), 2), (Arguments{-1, -2, -3}));
  const auto turns = Calls("RotateTexture");
  EXPECT_EQ(After(turns[0], 2), (Arguments{0, 0, 30}));
  EXPECT_EQ(After(turns[1], 2), (Arguments{0, 20, 0}));
  EXPECT_EQ(After(turns[2], 2), (Arguments{10, 0, 0}));
  EXPECT_EQ(After(Only("ScaleTexture"), 2), (Arguments{0.5, 0.25, 0.125}));
  // The texture is held before the object is placed.
  const auto names = recorder_.Names();
  EXPECT_LT(std::find(names.begin(), names.end(), "ScaleTexture"),
            std::find(names.begin(), names.end(), "ScalePrim"));
}

TEST_F(ObjectTranslation, ATreeLockedTextureIsHeldAgainstEveryAncestorOutermostFirst) {
  Load(SceneWith(R"({"type": "group", "transform": {"translate": [100, 0, 0]}, "children": [
      {"type": "group", "transform": {"translate": [0, 200, 0]}, "children": [
        {"type": "sphere", "texture": "Stone", "texture_lock": "tree", "transform": {"translate": [0, 0, 3]}}]}]})",
                 kStone));
  recorder_.FileName("Stone", 500);
  ObjectTranslator(job_, record_).TranslateScene();
  std::vector<Arguments> moves;
  for (const auto& call : Calls("TranslateTexture")) moves.push_back(After(call, 2));
  EXPECT_THAT(moves, ElementsAre(Arguments{-100, 0, 0}, Arguments{0, -200, 0}, Arguments{0, 0, -3}));
}

TEST_F(ObjectTranslation, AClonesSourceIsTranslatedFirstWhenNewAndSharesItsTexture) {
  Load(SceneWith(R"(
    {"type": "clone", "name": "Copy", "source": "Ball", "transform": {"translate": [2, 0, 0]}},
    {"type": "sphere", "name": "Ball", "texture": "Stone"},
    {"type": "clone", "name": "Second Copy", "source": "Ball"})",
                 kStone));
  recorder_.FileName("Stone", 500);
  ObjectTranslator(job_, record_).TranslateScene();
  const uint32_t ball = Made("CreateSphere");  // once, though the walk meets it after its clone
  const auto clones = Calls("CreateClone");
  ASSERT_EQ(clones.size(), 2u);
  EXPECT_EQ(clones[0].arguments[1], ball);
  EXPECT_EQ(clones[1].arguments[1], ball);
  EXPECT_EQ(Filed("Copy"), clones[0].result);
  // Only the clone whose source was new shares its texture through a new reference.
  const auto fetched = Calls("GetPrimTexture");
  ASSERT_EQ(fetched.size(), 1u);
  EXPECT_EQ(fetched[0].arguments[1], ball);
  const auto attached = Calls("SetPrimTexture");
  ASSERT_EQ(attached.size(), 2u);
  EXPECT_EQ(attached[1].arguments[1], clones[0].result);
  EXPECT_EQ(Calls("CreateTextureReference")[1].arguments[1], fetched[0].result);
  EXPECT_EQ(After(Only("TranslatePrim"), 1), (Arguments{double(clones[0].result), 2, 0, 0}));
}

abi::host_fn::GetObjectInfo hostObjectInfo = nullptr;

// The host's answer, but every clone is its own source.
int32_t LUMETRA_STDCALL SelfCloningObjectInfo(uint32_t id, abi::ObjectInfo* info) {
  const int32_t result = hostObjectInfo(id, info);
  if (info->type == abi::kTypeClone) info->linkA = id;
  return result;
}

TEST_F(ObjectTranslation, AClonesSourceThatRendersNothingOrContainsItselfGivesNoClone) {
  Load(SceneWith(R"({"type": "sphere", "name": "Hidden", "render": false},
                    {"type": "clone", "name": "Ghost", "source": "Hidden"})"));
  ObjectTranslator(job_, record_).TranslateScene();
  EXPECT_THAT(Calls("CreateClone"), IsEmpty());
  EXPECT_EQ(recorder_.FiledValue("Ghost"), 0u);

  hostObjectInfo = record_.getObjectInfo;
  record_.getObjectInfo = SelfCloningObjectInfo;
  ObjectTranslator(job_, record_).TranslateScene();
  EXPECT_THAT(Calls("CreateClone"), IsEmpty());
  EXPECT_EQ(recorder_.FiledValue("Ghost"), 0u);
}

TEST_F(ObjectTranslation, NamesStayReadableThroughTheJobsGrowingNameList) {
  std::string objects;
  for (int i = 0; i < 100; ++i)
    objects += (i ? "," : "") + std::string(R"({"type": "sphere", "name": "S)") + std::to_string(i) + "\"}";
  TranslateObjects(objects);
  EXPECT_EQ(job_.keptNames.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_NE(recorder_.FiledValue("S" + std::to_string(i)), 0u) << i;
}

}  // namespace
}  // namespace lumetra::translate
