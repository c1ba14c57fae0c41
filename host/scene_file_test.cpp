#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;
using testing::EveryKindScenePath;
using testing::FreshFolder;
using ::testing::HasSubstr;
using testing::WriteText;

// Copies the every-kind scene's folder so that saving next to it touches nothing shipped.
fs::path CopyEveryKindScene(const std::string& name) {
  const fs::path folder = FreshFolder(name);
  fs::copy(fs::path(EveryKindScenePath()).parent_path(), folder, fs::copy_options::recursive);
  return folder / "every-kind.json";
}

// Two arrays of records alike byte for byte (empty arrays may have no storage at all).
template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// Everything the host hands out about one object, as raw records.
struct ObjectSnapshot {
  abi::ObjectInfo info{};
  abi::ObjectDataBlock data{};
  abi::TextureBlock node{};
  abi::ParamRecord params{};
};

std::vector<ObjectSnapshot> Snapshot(Scene& scene) {
  HostContext context(scene);
  abi::SceneRecord record{};
  FillSceneRecord(record);
  std::vector<ObjectSnapshot> out;
  for (uint32_t id : scene.AllObjects()) {
    ObjectSnapshot& snap = out.emplace_back();
    abi::PrepareObjectInfo(snap.info, &snap.data, &snap.node);
    EXPECT_EQ(record.getObjectInfo(id, &snap.info), abi::kOk);
    snap.params.version = abi::kParamRecordVersion;
    EXPECT_EQ(record.getObjectParams(id, &snap.params), abi::kOk);
    snap.info.objectData = nullptr;  // pointers differ between loads
    snap.info.textureData = nullptr;
  }
  return out;
}

TEST(SceneFile, EveryKindSceneSurvivesSaveAndLoadWithIdenticalRecords) {
  const fs::path path = CopyEveryKindScene("roundtrip");
  Scene first = LoadScene(path.string());
  first.pluginChunks.push_back({"Lumetra (beta 21)", {0x17, 0, 1, 2, 0xFF, 0x80}});
  const fs::path saved = path.parent_path() / "saved.json";
  SaveScene(first, saved.string());
  Scene second = LoadScene(saved.string());

  const auto before = Snapshot(first);
  const auto after = Snapshot(second);
  ASSERT_EQ(before.size(), after.size());
  ASSERT_GE(before.size(), 20u);
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(before[i].info.name);
    EXPECT_EQ(std::memcmp(&before[i].info, &after[i].info, sizeof(abi::ObjectInfo)), 0);
    EXPECT_EQ(std::memcmp(&before[i].data, &after[i].data, sizeof(abi::ObjectDataBlock)), 0);
    EXPECT_EQ(std::memcmp(&before[i].node, &after[i].node, sizeof(abi::TextureBlock)), 0);
    EXPECT_EQ(std::memcmp(&before[i].params, &after[i].params, sizeof(abi::ParamRecord)), 0);
  }
  for (uint32_t id : first.AllObjects()) {
    const SceneObject& a = *first.Find(id);
    const SceneObject& b = *second.Find(id);
    EXPECT_EQ(a.mesh, b.mesh) << a.name;
    EXPECT_EQ(a.splinePoints, b.splinePoints) << a.name;
    EXPECT_EQ(a.splinePatches, b.splinePatches) << a.name;
    EXPECT_TRUE(SameBytes(a.profile, b.profile)) << a.name;
    EXPECT_TRUE(SameBytes(a.blob, b.blob)) << a.name;
  }
  EXPECT_EQ(second.pluginChunks, first.pluginChunks);
  EXPECT_EQ(std::memcmp(&first.render, &second.render, sizeof first.render), 0);
  EXPECT_EQ(std::memcmp(&first.environment, &second.environment, sizeof first.environment), 0);
  EXPECT_EQ(std::memcmp(first.views.data(), second.views.data(), sizeof first.views), 0);
  EXPECT_EQ(second.selected, first.selected);
}

TEST(SceneFile, EveryKindSceneHasTheKindsItPromises) {
  const Scene scene = LoadScene(EveryKindScenePath());
  std::set<uint32_t> types;
  int lights = 0;
  for (uint32_t id : scene.AllObjects()) {
    const SceneObject& object = *scene.Find(id);
    if (object.type != abi::kTypeTextureNode && object.type != abi::kTypeCamera) {
      types.insert(object.type);
    }
    lights += object.type == abi::kTypePointLight || object.type == abi::kTypeSpotLight ||
              object.type == abi::kTypeAreaLight;
  }
  EXPECT_GE(types.size(), 10u);
  EXPECT_EQ(lights, 3);
  EXPECT_EQ(scene.List(abi::kCameraList).size(), 1u);
  EXPECT_GE(scene.List(abi::kMaterialList).size(), 4u);
}

TEST(SceneFile, ASceneSavedIntoAnotherFolderStillFindsItsFiles) {
  const fs::path original = CopyEveryKindScene("relocate-from");
  Scene scene = LoadScene(original.string());
  SceneObject& hills = *const_cast<SceneObject*>(scene.FindByName("Hills"));
  const fs::path terrain = original.parent_path() / "terrain.png";
  std::strcpy(hills.data.shape.heightField.image, terrain.c_str());  // an absolute name stays
  scene.searchPaths = {"maps", "/usr/share/fonts"};
  const fs::path elsewhere = FreshFolder("relocate-to") / "deeper" / "moved.json";
  fs::create_directories(elsewhere.parent_path());
  SaveScene(scene, elsewhere.string());

  const Scene moved = LoadScene(elsewhere.string());
  const std::string back = "../../lumetra-host-test-relocate-from/";
  EXPECT_EQ(std::string(moved.FindByName("Hills")->data.shape.heightField.image), terrain.string());
  EXPECT_EQ(moved.searchPaths, (std::vector<std::string>{back + "maps", "/usr/share/fonts"}));
  size_t meshes = 0;
  for (const uint32_t id : moved.AllObjects()) {
    const SceneObject& object = *moved.Find(id);
    if (object.type != abi::kTypeMeshFile) continue;
    ++meshes;
    EXPECT_EQ(std::string(object.data.shape.meshFile.file).rfind(back, 0), 0u)
        << object.data.shape.meshFile.file;
  }
  EXPECT_GT(meshes, 0u);
  // Saved beside itself, the scene keeps its names as they were.
  const fs::path beside = elsewhere.parent_path() / "again.json";
  SaveScene(moved, beside.string());
  EXPECT_EQ(LoadScene(beside.string()).searchPaths, moved.searchPaths);
}

TEST(SceneFile, SavingOverAnExistingFileIsAtomicAndAFailedSaveKeepsIt) {
  const fs::path folder = FreshFolder("atomic");
  Scene scene;
  scene.Add(abi::kTypeSphere, abi::kObjectList).name = "Ball";
  const fs::path path = folder / "scene.json";
  SaveScene(scene, path.string());
  const Scene loaded = LoadScene(path.string());
  EXPECT_EQ(loaded.FindByName("Ball")->type, abi::kTypeSphere);
  // A folder in the way of the file: the rename fails, the folder and no stray file remain.
  fs::create_directories(folder / "blocked.json" / "inside");
  EXPECT_THROW(SaveScene(scene, (folder / "blocked.json").string()), SceneFileError);
  EXPECT_TRUE(fs::is_directory(folder / "blocked.json"));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 2u);
  EXPECT_THROW(SaveScene(scene, (folder / "missing" / "scene.json").string()), SceneFileError);
}

// One bad file, the words its message must carry and the place it must name.
struct BadScene {
  const char* label;
  std::string text;
  std::string place;
  std::string problem;
};

std::string SceneText(const std::string& body) {
  return R"({"format": "lumetra-scene", "version": 1, )" + body + "}";
}

class MalformedScene : public ::testing::TestWithParam<BadScene> {};

TEST_P(MalformedScene, FailsWithAMessageNamingFilePlaceAndProblem) {
  const fs::path folder = FreshFolder(std::string("bad-") + GetParam().label);
  fs::copy_file(fs::path(EveryKindScenePath()).parent_path() / "tiles.png", folder / "tiles.png");
  WriteText(folder / "broken.obj", "v 0 0 0\nv 1 0 0\nf 1 2 7\n");
  const fs::path path = folder / "bad.json";
  WriteText(path, GetParam().text);
  try {
    LoadScene(path.string());
    FAIL() << "loaded a bad scene";
  } catch (const SceneFileError& error) {
    const std::string message = error.what();
    EXPECT_THAT(message, HasSubstr(path.string() + ":"));
    EXPECT_THAT(message, HasSubstr(GetParam().place));
    EXPECT_THAT(message, HasSubstr(GetParam().problem));
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, MalformedScene,
    ::testing::Values(
        BadScene{"empty", "  \n", "", "the file is empty"},
        BadScene{"binary", std::string("\x89PNG\r\n\x1a\n\0\0", 10), ":3:1:", "binary data"},
        BadScene{"syntax", "{\"format\": \"lumetra-scene\",\n  \"version\": 1,\n  \"objects\": [}\n",
                 ":3:15:", "syntax error"},
        BadScene{"huge_number", SceneText(R"("environment": {"ambient": [0.1, -1e999, 0.1]})"),
                 ":1:76:", "a number too large for a double"},
        BadScene{"not_scene", R"({"format": "something else", "version": 1})", "at /format",
                 "not a Lumetra scene"},
        BadScene{"unknown_type", SceneText(R"("objects": [{"type": "teapot"}])"), "at /objects/0/type",
                 "unknown object type \"teapot\""},
        BadScene{"unknown_kind",
                 SceneText(R"("materials": [{"kind": "material", "children": [{"kind": "plaid"}]}])"),
                 "at /materials/0/children/0/kind", "unknown texture node kind \"plaid\""},
        BadScene{"unknown_pattern",
                 SceneText(R"("materials": [{"kind": "pattern_pigment", "pattern": "paisley"}])"),
                 "at /materials/0/pattern", "unknown pattern \"paisley\""},
        BadScene{"wrong_type", SceneText(R"("objects": [{"type": "torus", "major_radius": "big"}])"),
                 "at /objects/0/major_radius", "expected a number, got a string"},
        BadScene{"wrong_count", SceneText(R"("objects": [{"type": "box", "transform": {"scale": [1, 2]}}])"),
                 "at /objects/0/transform/scale", "expected an array of 3 numbers"},
        BadScene{"negative_integer", SceneText(R"("render": {"width": -5})"), "at /render/width",
                 "whole number from 0"},
        BadScene{"unknown_field", SceneText(R"("objects": [{"type": "sphere", "radius": 2}])"),
                 "at /objects/0/radius", "unknown field \"radius\""},
        BadScene{"dangling_texture", SceneText(R"("objects": [{"type": "sphere", "texture": "Nowhere"}])"),
                 "at /objects/0/texture", "no material is named \"Nowhere\""},
        BadScene{"dangling_camera_link",
                 SceneText(R"("cameras": [{"type": "camera", "look_at_object": "Ghost"}])"),
                 "at /cameras/0/look_at_object", "no object is named \"Ghost\""},
        BadScene{"clone_cycle", SceneText(R"("objects": [{"type": "clone", "name": "A", "source": "B"},
                                       {"type": "clone", "name": "B", "source": "A"}])"),
                 "at /objects/0/source", "clone cycle"},
        BadScene{"clone_of_ancestor", SceneText(R"("objects": [{"type": "group", "name": "G", "children": [
                            {"type": "clone", "name": "C", "source": "G"}]}])"),
                 "at /objects/0/children/0/source", "clone cycle"},
        BadScene{"missing_mesh", SceneText(R"("objects": [{"type": "mesh_file", "file": "gone.obj"}])"),
                 "at /objects/0/file", "file \"gone.obj\" not found"},
        BadScene{"broken_mesh", SceneText(R"("objects": [{"type": "polygon_mesh", "obj": "broken.obj"}])"),
                 "at /objects/0/obj", "vertex that does not exist"},
        BadScene{"missing_image", SceneText(R"("materials": [{"kind": "image_map", "file": "nothere.png"}])"),
                 "at /materials/0/file", "file \"nothere.png\" not found"},
        BadScene{"face_index",
                 SceneText(R"("objects": [{"type": "polygon_mesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]],
                                        "faces": [[0, 1, 3]]}])"),
                 "at /objects/0/faces/0/2", "past the last point"},
        BadScene{"camera_in_tree", SceneText(R"("objects": [{"type": "camera"}])"), "at /objects/0/type",
                 "a camera belongs in \"cameras\""},
        BadScene{"long_name",
                 SceneText(R"("objects": [{"type": "box", "name": ")" + std::string(200, 'x') + R"("}])"),
                 "at /objects/0/name", "at most 127 characters"},
        BadScene{"color_map_order",
                 SceneText(
                     R"("materials": [{"kind": "pattern_pigment", "color_map": [[0.5,1,1,1],[0.2,0,0,0]]}])"),
                 "at /materials/0/color_map/1/0", "must not decrease"},
        BadScene{"bad_base64", SceneText(R"("plugin_data": [{"plugin": "P", "data": "@@@@"}])"),
                 "at /plugin_data/0/data", "not valid base64"},
        BadScene{"newer_version", R"({"format": "lumetra-scene", "version": 7})", "at /version",
                 "not supported"}),
    [](const ::testing::TestParamInfo<BadScene>& info) { return std::string(info.param.label); });

TEST(SceneFile, AMissingFileIsNamedWithTheReason) {
  try {
    LoadScene("/nonexistent/scene.json");
    FAIL();
  } catch (const SceneFileError& error) {
    EXPECT_THAT(error.what(), HasSubstr("/nonexistent/scene.json: cannot open the file"));
  }
}

}  // namespace
}  // namespace lumetra::host
