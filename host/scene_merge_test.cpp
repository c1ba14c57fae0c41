#include "host/scene_merge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "abi/scene_record.h"
#include "host/scene_file.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

TEST(SceneMerge, ASceneMergedIntoItselfArrivesUnderFreshNamesWithItsLinksOnTheCopies) {
  Scene scene = LoadScene(testing::EveryKindScenePath());
  const size_t objectsBefore = scene.List(abi::kObjectList).size();
  const size_t materialsBefore = scene.List(abi::kMaterialList).size();
  const size_t countBefore = scene.ObjectCount();
  const uint32_t oldBall = scene.FindByName("Marble Ball")->id;

  const std::vector<MergedObject> merged = MergeScene(scene, LoadScene(testing::EveryKindScenePath()));

  // Every object of the tree and the camera again; the six materials were there already.
  EXPECT_EQ(scene.List(abi::kObjectList).size(), 2 * objectsBefore);
  EXPECT_EQ(scene.List(abi::kCameraList).size(), 2u);
  EXPECT_EQ(scene.List(abi::kMaterialList).size(), materialsBefore);
  EXPECT_EQ(merged.size(), scene.ObjectCount() - countBefore);

  std::set<std::string> names;
  for (const MergedObject& object : merged) {
    const SceneObject& copy = *scene.Find(object.id);
    EXPECT_EQ(copy.name, object.name);
    EXPECT_EQ(object.name, object.fileName + " 2");
    // Parents arrive before their children.
    if (copy.parent) {
      EXPECT_TRUE(names.contains(scene.Find(copy.parent)->name)) << object.name;
    }
    names.insert(object.name);
  }

  const SceneObject& ball = *scene.FindByName("Marble Ball 2");
  EXPECT_NE(ball.id, oldBall);
  EXPECT_EQ(ball.textureName, "Marble");
  EXPECT_EQ(scene.FindByName("Ball Copy 2")->linkA, ball.id);
  const SceneObject& camera = *scene.Find(scene.List(abi::kCameraList)[1]);
  EXPECT_EQ(camera.name, "Camera 2");
  EXPECT_EQ(camera.linkB, ball.id);

  const SceneObject& carved = *scene.FindByName("Carved 2");
  ASSERT_EQ(carved.children.size(), 2u);
  EXPECT_EQ(scene.Find(carved.children[0])->name, "Carved Block 2");
  EXPECT_EQ(scene.Find(carved.children[0])->parent, carved.id);
  EXPECT_EQ(scene.FindByName("Pyramid 2")->mesh, scene.FindByName("Pyramid")->mesh);
}

TEST(SceneMerge, AnEmptySceneElsewhereTakesMaterialsAndFindsTheMergedFilesFromItsFolder) {
  const fs::path folder = testing::FreshFolder("merge");
  Scene scene;
  scene.path = (folder / "new.json").string();
  const std::vector<MergedObject> merged = MergeScene(scene, LoadScene(testing::EveryKindScenePath()));
  EXPECT_EQ(scene.List(abi::kMaterialList).size(), 6u);
  ASSERT_FALSE(merged.empty());
  EXPECT_EQ(merged.front().name, merged.front().fileName);  // nothing to rename

  const SceneObject& hills = *scene.FindByName("Hills");
  const fs::path image = folder / hills.data.shape.heightField.image;
  EXPECT_TRUE(fs::equivalent(image, fs::path(testing::EveryKindScenePath()).parent_path() / "terrain.png"));

  // The merged scene saves and loads again as one scene.
  SaveScene(scene, scene.path);
  const Scene again = LoadScene(scene.path);
  EXPECT_EQ(again.ObjectCount(), scene.ObjectCount());
  EXPECT_EQ(again.FindByName("Ball Copy")->linkA, again.FindByName("Marble Ball")->id);
}

}  // namespace
}  // namespace lumetra::host
