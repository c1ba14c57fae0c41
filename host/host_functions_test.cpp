#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "abi/animation_run_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "host/bar_site.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::host {
namespace {

using testing::At;

// The every-kind test scene behind a filled record, walked the way the plug-in walks it.
class HostFunctions : public ::testing::Test {
 protected:
  HostFunctions() : scene_(LoadScene(testing::EveryKindScenePath())), context_(scene_) {
    FillSceneRecord(record_);
  }

  // Every object of a list by name, through OpenChildList / GetChild / CloseChildList.
  void Walk(uint32_t list, std::map<std::string, uint32_t>& byName) {
    for (int32_t index = 0;; ++index) {
      uint32_t id = 0;
      const int32_t result = record_.getChild(list, index, &id);
      if (result == abi::kNoMoreItems) break;
      ASSERT_EQ(result, abi::kOk);
      ObjectRecords& records = Read(id);
      byName[records.info.name] = id;
      if (records.info.childCount == 0) continue;
      uint32_t children = 0;
      ASSERT_EQ(record_.openChildList(id, &children), abi::kOk);
      Walk(children, byName);
      ASSERT_EQ(record_.closeChildList(children), abi::kOk);
    }
  }

  struct ObjectRecords {
    abi::ObjectInfo info{};
    abi::ObjectDataBlock data{};
    abi::TextureBlock node{};
    abi::ParamRecord params{};
  };

  ObjectRecords& Read(uint32_t id) {
    ObjectRecords& records = read_[id];
    abi::PrepareObjectInfo(records.info, &records.data, &records.node);
    EXPECT_EQ(record_.getObjectInfo(id, &records.info), abi::kOk);
    records.params.version = abi::kParamRecordVersion;
    EXPECT_EQ(record_.getObjectParams(id, &records.params), abi::kOk);
    return records;
  }

  // A node found by walking a material's tree for the first node of `kind`.
  const ObjectRecords* FirstNode(uint32_t kind) {
    for (auto& [id, records] : read_) {
      if (records.info.type == abi::kTypeTextureNode && records.node.kind == kind) return &records;
    }
    return nullptr;
  }

  Scene scene_;
  HostContext context_;
  abi::SceneRecord record_{};
  std::map<uint32_t, ObjectRecords> read_;
};

TEST_F(HostFunctions, WalkingTheThreeListsReachesEveryObjectWithItsValuesAtTheirOffsets) {
  std::map<std::string, uint32_t> objects, cameras, materials;
  Walk(abi::kObjectList, objects);
  Walk(abi::kCameraList, cameras);
  Walk(abi::kMaterialList, materials);
  EXPECT_EQ(read_.size(), scene_.ObjectCount());
  EXPECT_EQ(cameras.size(), 1u);
  EXPECT_TRUE(materials.count("Marble") && materials.count("Tiles") && materials.count("Bricks"));

  // Head: type at 8, name at 12, the chain's next object at 140 (the enclosing object), flag
  // word at 144, parent at 148, texture name.
  const ObjectRecords& ball = read_[objects.at("Marble Ball")];
  EXPECT_EQ(At<uint32_t>(&ball.info, 140), 0u);
  for (const auto& [id, records] : read_)
    EXPECT_EQ(At<uint32_t>(&records.info, 140), scene_.Find(id)->parent);
  EXPECT_EQ(At<uint32_t>(&ball.info, 8), abi::kTypeSphere);
  EXPECT_STREQ(reinterpret_cast<const char*>(&ball.info) + 12, "Marble Ball");
  EXPECT_EQ(At<uint32_t>(&ball.info, 144), abi::kFlagRender);
  EXPECT_STREQ(ball.info.textureName, "Marble");
  EXPECT_EQ(At<double>(&ball.params, 56 + 8), 1.0);  // translate y

  const ObjectRecords& crate = read_[objects.at("Crate")];
  EXPECT_EQ(At<uint32_t>(&crate.info, 144) & abi::kFlagTextureLockMask, abi::kFlagTextureLock);
  EXPECT_EQ(At<double>(&crate.params, 8), 0.6);        // scale x
  EXPECT_EQ(At<double>(&crate.params, 32 + 8), 30.0);  // rotate y, degrees
  const ObjectRecords& coin = read_[objects.at("Coin")];
  EXPECT_EQ(At<uint32_t>(&coin.info, 144), abi::kFlagRender | abi::kFlagNoShadows);
  EXPECT_EQ(At<double>(&coin.data, 80), 0.3);  // inner radius

  // Shape parameters from offset 80 of the object data block.
  const ObjectRecords& cone = read_[objects.at("Funnel")];
  EXPECT_EQ(At<double>(&cone.data, 80), 0.2);
  EXPECT_EQ(At<double>(&cone.data, 88), 0.6);
  const ObjectRecords& torus = read_[objects.at("Ring")];
  EXPECT_EQ(At<double>(&torus.data, 80), 0.8);
  EXPECT_EQ(At<double>(&torus.data, 88), 0.15);
  const ObjectRecords& floor = read_[objects.at("Floor")];
  EXPECT_EQ(At<double>(&floor.data, 8), 2.0);  // texture scale x
  const ObjectRecords& csg = read_[objects.at("Carved")];
  EXPECT_EQ(At<uint32_t>(&csg.info, 8), abi::kTypeCsg);
  EXPECT_EQ(At<uint32_t>(&csg.data, 80), 2u);  // difference
  EXPECT_EQ(At<uint32_t>(&csg.info, 160), 2u);
  EXPECT_EQ(read_[objects.at("Carved Hole")].info.parent, objects.at("Carved"));
  const ObjectRecords& clone = read_[objects.at("Ball Copy")];
  EXPECT_EQ(At<uint32_t>(&clone.info, 152), objects.at("Marble Ball"));

  // Lights: colour, spot values, area samples.
  const ObjectRecords& spot = read_[objects.at("Spot")];
  EXPECT_EQ(spot.info.type, abi::kTypeSpotLight);
  EXPECT_EQ(At<double>(&spot.data, 80), 0.6);
  EXPECT_EQ(spot.data.shape.light.falloff, 25.0);
  EXPECT_EQ(spot.data.shape.light.tightness, 5.0);
  const ObjectRecords& fill = read_[objects.at("Fill")];
  EXPECT_EQ(fill.data.shape.light.samples[0], 3u);
  EXPECT_EQ(fill.data.shape.light.jitter, 1u);

  // Camera: look-at in the rotate vector, location in the translate vector.
  const ObjectRecords& camera = read_[cameras.at("Camera")];
  EXPECT_EQ(At<double>(&camera.params, 32 + 8), 0.8);
  EXPECT_EQ(At<double>(&camera.params, 56 + 16), -8.0);
  EXPECT_EQ(camera.data.shape.camera.fieldOfView, 50.0);
  EXPECT_EQ(camera.data.shape.camera.active, 1u);
  EXPECT_EQ(At<uint32_t>(&camera.info, 156), objects.at("Marble Ball"));

  // Texture nodes: kind at 12 of the texture block, child count at 16, parameters from 20.
  const ObjectRecords& marble = *FirstNode(abi::kNodePatternPigment);
  EXPECT_EQ(At<uint32_t>(&marble.node, 12), 11u);
  EXPECT_EQ(At<uint32_t>(&marble.node, 16), 1u);
  EXPECT_EQ(At<uint32_t>(&marble.node, 20), 7u);            // marble
  EXPECT_EQ(At<uint32_t>(&marble.node, 20 + 328), 3u);      // colour-map entries
  EXPECT_EQ(At<double>(&marble.node, 20 + 332 + 48), 0.6);  // second entry's value
  const ObjectRecords& noise = *FirstNode(abi::kNodeNoiseModifiers);
  EXPECT_EQ(At<double>(&noise.node, 20 + 4), 0.8);
  EXPECT_EQ(At<uint32_t>(&noise.node, 20 + 36), 6u);
  EXPECT_EQ(At<double>(&noise.node, 20 + 56), 1.0);  // frequency
  const ObjectRecords& finish = *FirstNode(abi::kNodeFinish);
  EXPECT_EQ(At<double>(&finish.node, 20 + 8), 0.7);
  EXPECT_EQ(At<double>(&finish.node, 20 + 24), 0.6);
  const ObjectRecords& brick = *FirstNode(abi::kNodeBlockTexture);
  EXPECT_EQ(At<uint32_t>(&brick.node, 20), 2u);
  EXPECT_EQ(At<double>(&brick.node, 20 + 28), 0.05);
  const ObjectRecords& image = *FirstNode(abi::kNodeImageMap);
  EXPECT_STREQ(reinterpret_cast<const char*>(&image.node) + 20, "tiles.png");
  EXPECT_EQ(At<uint32_t>(&image.node, 20 + 260), 2u);
  EXPECT_EQ(At<uint32_t>(&image.node, 20 + 268), 1u);
  const ObjectRecords& transform = *FirstNode(abi::kNodeTransform);
  EXPECT_EQ(At<double>(&transform.node, 20), 2.0);             // scale x
  EXPECT_EQ(At<double>(&transform.node, 20 + 24 + 16), 90.0);  // rotate z
  const ObjectRecords& solid = *FirstNode(abi::kNodeSolidColor);
  EXPECT_EQ(At<double>(&solid.node, 20), 0.8);
  const ObjectRecords& checker = *FirstNode(abi::kNodeBlockPigment);
  EXPECT_EQ(At<double>(&checker.node, 20 + 36 + 40), 0.1);  // second colour's red

  // The image map's file completes in place to a path that exists.
  char path[abi::kMaxPath] = {};
  std::strcpy(path, reinterpret_cast<const char*>(&image.node) + 20);
  ASSERT_EQ(record_.findFile(abi::kFindImageMap, path), abi::kOk);
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
  EXPECT_EQ(std::filesystem::path(path).filename(), "tiles.png");
}

TEST_F(HostFunctions, ChildListsEndWithMinus30AndRefuseUnknownHandles) {
  uint32_t list = 99;
  ASSERT_EQ(record_.openChildList(0, &list), abi::kOk);
  EXPECT_EQ(list, abi::kObjectList);
  uint32_t id = 0;
  const auto count = static_cast<int32_t>(scene_.List(abi::kObjectList).size());
  EXPECT_EQ(record_.getChild(list, count - 1, &id), abi::kOk);
  EXPECT_EQ(record_.getChild(list, count, &id), abi::kNoMoreItems);
  EXPECT_EQ(record_.getChild(list, -1, &id), abi::kIndexOutOfRange);
  EXPECT_EQ(record_.getChild(12345, 0, &id), abi::kUnknownList);
  EXPECT_EQ(record_.closeChildList(12345), abi::kUnknownList);

  const uint32_t carved = scene_.FindByName("Carved")->id;
  uint32_t first = 0, second = 0;
  ASSERT_EQ(record_.openChildList(carved, &first), abi::kOk);
  ASSERT_EQ(record_.openChildList(carved, &second), abi::kOk);
  EXPECT_NE(first, second);
  EXPECT_GT(first, abi::kMaterialList);
  EXPECT_EQ(record_.getChild(second, 1, &id), abi::kOk);
  EXPECT_EQ(id, scene_.FindByName("Carved Hole")->id);
  EXPECT_EQ(record_.closeChildList(first), abi::kOk);
  EXPECT_EQ(record_.getChild(first, 0, &id), abi::kUnknownList);
  EXPECT_EQ(record_.closeChildList(second), abi::kOk);
  EXPECT_EQ(context_.Lists().OpenCount(), 0u);
  EXPECT_EQ(record_.openChildList(9999, &first), abi::kUnknownObject);
}

TEST_F(HostFunctions, RecordsWithAWrongSizeOrVersionAreRefused) {
  abi::ObjectInfo info{};
  abi::PrepareObjectInfo(info);
  const uint32_t ball = scene_.FindByName("Marble Ball")->id;
  info.version = 203;
  EXPECT_EQ(record_.getObjectInfo(ball, &info), abi::kWrongMajorVersion);
  abi::PrepareObjectInfo(info);
  info.size = 100;
  EXPECT_EQ(record_.getObjectInfo(ball, &info), abi::kRecordTooSmall);
  abi::ObjectDataBlock data{};
  abi::PrepareObjectInfo(info, &data);
  data.size = 10;
  EXPECT_EQ(record_.getObjectInfo(ball, &info), abi::kRecordTooSmall);
  EXPECT_EQ(record_.getObjectInfo(ball, nullptr), abi::kNullRecord);
  abi::PrepareObjectInfo(info);
  EXPECT_EQ(record_.getObjectInfo(0, &info), abi::kUnknownObject);
  abi::ParamRecord params{};
  EXPECT_EQ(record_.getObjectParams(ball, &params), abi::kWrongMajorVersion);
  abi::ViewRecord view{};
  view.version = abi::kViewRecordVersion;
  EXPECT_EQ(record_.getViewInfo(4, &view), abi::kIndexOutOfRange);
  abi::RenderSettingsRecord settings{};
  settings.version = abi::kRenderSettingsVersion;
  EXPECT_EQ(record_.getRenderSettings(2, &settings), abi::kIndexOutOfRange);
}

TEST_F(HostFunctions, ArraysAreReadThroughTheMeshInterfaceAndTheReaders) {
  abi::MeshRecord mesh{};
  mesh.size = sizeof mesh;
  mesh.version = abi::kMeshRecordVersion;
  const uint32_t pyramid = scene_.FindByName("Pyramid")->id;
  ASSERT_EQ(record_.getMeshInterface(pyramid, &mesh), abi::kOk);
  EXPECT_EQ(mesh.vertexCount, 5u);
  EXPECT_EQ(mesh.faceCount, 6u);
  EXPECT_EQ(mesh.normalCount, 0u);
  std::vector<double> vertices(mesh.vertexCount * 3);
  ASSERT_EQ(mesh.readVertices(pyramid, 0, mesh.vertexCount, vertices.data()), abi::kOk);
  int apexes = 0;  // vertices are numbered in the order faces reach them
  for (size_t i = 1; i < vertices.size(); i += 3) apexes += vertices[i] == 1.5;
  EXPECT_EQ(apexes, 1);
  std::vector<uint32_t> faces(mesh.faceCount * 3);
  ASSERT_EQ(mesh.readFaces(pyramid, 0, mesh.faceCount, faces.data()), abi::kOk);
  for (uint32_t index : faces) EXPECT_LT(index, mesh.vertexCount);
  EXPECT_EQ(mesh.readFaces(pyramid, 5, 2, faces.data()), abi::kIndexOutOfRange);
  EXPECT_EQ(mesh.readFaces(pyramid, 0xFFFFFFFFu, 2, faces.data()), abi::kIndexOutOfRange);
  EXPECT_EQ(record_.getMeshInterface(scene_.FindByName("Crate")->id, &mesh), abi::kNotFound);

  const SceneObject& vase = *scene_.FindByName("Vase");
  // The six points of the file and the first again, closing the outline.
  ASSERT_EQ(vase.data.shape.profile.pointCount, 7u);
  abi::ProfilePoint points[7];
  ASSERT_EQ(record_.readProfilePoints(vase.id, 0, 7, points), abi::kOk);
  EXPECT_EQ(points[2].x, 0.5);
  EXPECT_EQ(points[1].flags, abi::kProfilePointCorner);
  EXPECT_EQ(points[2].flags, 0u);
  EXPECT_EQ(std::memcmp(&points[6], &points[0], sizeof points[0]), 0);

  const SceneObject& blob = *scene_.FindByName("Droplets");
  abi::BlobComponent components[3];
  ASSERT_EQ(record_.readBlobComponents(blob.id, 0, 3, components), abi::kOk);
  EXPECT_EQ(components[2].kind, 2u);
  EXPECT_EQ(components[2].b[1], 0.6);
  EXPECT_EQ(components[1].radius, 0.4);

  const SceneObject& sail = *scene_.FindByName("Sail");
  double point[3];
  ASSERT_EQ(record_.readSplinePoints(sail.id, 5, 1, point), abi::kOk);
  EXPECT_EQ(point[2], 0.6);
  uint32_t patch[16];
  ASSERT_EQ(record_.readSplinePatches(sail.id, 0, 1, patch), abi::kOk);
  EXPECT_EQ(patch[15], 15u);
  EXPECT_EQ(record_.readSplinePatches(sail.id, 1, 1, patch), abi::kIndexOutOfRange);

  // Posed points are written back over a range; a range past the array changes nothing.
  points[2].x = 0.75;
  ASSERT_EQ(record_.writeProfilePoints(vase.id, 2, 1, &points[2]), abi::kOk);
  EXPECT_EQ(vase.profile[2].x, 0.75);
  EXPECT_EQ(record_.writeProfilePoints(vase.id, 6, 2, points), abi::kIndexOutOfRange);
  EXPECT_EQ(vase.profile.size(), 7u);
  point[2] = 0.9;
  ASSERT_EQ(record_.writeSplinePoints(sail.id, 5, 1, point), abi::kOk);
  EXPECT_EQ(sail.splinePoints[17], 0.9);
  EXPECT_EQ(record_.writeSplinePoints(sail.id, 0, 1, nullptr), abi::kNullRecord);
  EXPECT_EQ(context_.Log().arrayStores, (std::vector<uint32_t>{vase.id, sail.id}));
}

TEST_F(HostFunctions, StoringRecordsChangesTheSceneAndIsLogged) {
  int changes = 0;  // a window repaints on each
  context_.changed = [&] { ++changes; };
  const uint32_t cone = scene_.FindByName("Funnel")->id;
  ObjectRecords& records = Read(cone);
  records.data.shape.cone.upperRadius = 0.35;
  records.data.textureRotate[1] = 45;
  std::strcpy(records.info.name, "Big Funnel");
  ASSERT_EQ(record_.setObjectInfo(cone, &records.info, 4096), abi::kOk);
  const SceneObject& stored = *scene_.Find(cone);
  EXPECT_EQ(stored.name, "Big Funnel");
  EXPECT_EQ(stored.data.shape.cone.upperRadius, 0.35);
  EXPECT_EQ(stored.data.textureRotate[1], 45.0);

  // A lathe's point count belongs to the host.
  const uint32_t vase = scene_.FindByName("Vase")->id;
  ObjectRecords& lathe = Read(vase);
  lathe.data.shape.profile.pointCount = 1000;
  ASSERT_EQ(record_.setObjectInfo(vase, &lathe.info, 4096), abi::kOk);
  EXPECT_EQ(scene_.Find(vase)->data.shape.profile.pointCount, 7u);

  records.params.translate[0] = 7;
  ASSERT_EQ(record_.setObjectParams(cone, &records.params, 0x70), abi::kOk);
  abi::ParamRecord params{};
  params.version = abi::kParamRecordVersion;
  ASSERT_EQ(record_.getObjectParams(cone, &params), abi::kOk);
  EXPECT_EQ(params.translate[0], 7.0);

  EXPECT_EQ(record_.setUpdateMode(2), abi::kOk);
  EXPECT_EQ(record_.objectChanged(cone, 16), abi::kOk);
  EXPECT_EQ(record_.setUpdateMode(1), abi::kOk);
  EXPECT_EQ(record_.redraw(1, 0), abi::kOk);
  EXPECT_EQ(record_.refreshViews(), abi::kOk);
  EXPECT_EQ(record_.objectChanged(4242, 16), abi::kUnknownObject);
  const HostCallLog& log = context_.Log();
  EXPECT_EQ(log.updateModes, (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(log.changes, (std::vector<std::pair<uint32_t, uint32_t>>{{cone, 16u}}));
  EXPECT_EQ(log.redraws, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));
  EXPECT_EQ(log.refreshes, 1);
  EXPECT_EQ(log.paramStores.back(), (std::pair<uint32_t, uint32_t>{cone, 0x70u}));
  EXPECT_EQ(log.infoStores.size(), 2u);
  // Two stores of the info, one of the params, one change, one redraw, one refresh; the
  // refused change and the update modes repaint nothing.
  EXPECT_EQ(changes, 6);

  uint32_t found = 0;
  EXPECT_EQ(record_.findObjectByName("Big Funnel", &found), abi::kOk);
  EXPECT_EQ(found, cone);
  EXPECT_EQ(record_.findObjectByName("Funnel", &found), abi::kNotFound);
  EXPECT_EQ(record_.getSelectedObject(&found), abi::kOk);
  EXPECT_EQ(found, scene_.FindByName("Marble Ball")->id);
}

TEST_F(HostFunctions, HostValuesSettingsEnvironmentAndViews) {
  const char* base = nullptr;
  ASSERT_EQ(record_.getHostValue(abi::kHostValueRegistryBase, &base), abi::kOk);
  EXPECT_STREQ(base, "Software\\Ostrana\\Zarvel For Windows\\Plugins\\");
  uint32_t value = 0;
  ASSERT_EQ(record_.getHostValue(abi::kHostValueApplication, &value), abi::kOk);
  EXPECT_EQ(value, context_.applicationValue);
  EXPECT_EQ(record_.getHostValue(abi::kHostValueMainWindow, &value), abi::kNotFound);
  context_.mainWindow = 77;
  ASSERT_EQ(record_.getHostValue(abi::kHostValueMainWindow, &value), abi::kOk);
  EXPECT_EQ(value, 77u);
  EXPECT_EQ(record_.getHostValue(5, &value), abi::kIndexOutOfRange);

  // An animation run tells its frames; a record of another layout is refused and nothing kept.
  abi::AnimationFramesRecord told{sizeof told, abi::kAnimationFramesVersion, 10, 21, 3200, 320, 64, 48};
  told.version = 200;
  EXPECT_EQ(record_.getHostValue(abi::kHostValueAnimationFrames, &told), abi::kWrongMajorVersion);
  told.version = abi::kAnimationFramesVersion;
  told.size = 16;
  EXPECT_EQ(record_.getHostValue(abi::kHostValueAnimationFrames, &told), abi::kWrongMajorVersion);
  EXPECT_FALSE(context_.animationFrames);
  told.size = sizeof told;
  ASSERT_EQ(record_.getHostValue(abi::kHostValueAnimationFrames, &told), abi::kOk);
  ASSERT_TRUE(context_.animationFrames);
  EXPECT_EQ(context_.animationFrames->firstIndex, 10);
  EXPECT_EQ(context_.animationFrames->count, 21);

  // A GUI's bar site parents the bar in its real window, and only there.
  const abi::BarSiteRecord* site = nullptr;
  BarSite::Instance().Open(77);
  ASSERT_EQ(record_.getHostValue(abi::kHostValueBarSite, &site), abi::kOk);
  constexpr abi::BarWindowProc kProcedure = [](uint32_t, uint32_t, uint32_t, int32_t) -> int32_t {
    return 5;
  };
  EXPECT_EQ(site->barCreated(1, kProcedure), 0u);
  const uint32_t bar = site->barCreated(77, kProcedure);
  EXPECT_NE(bar, 0u);
  EXPECT_EQ(BarSite::Instance().Send(abi::kBarGetCheck, 0), 5);
  BarSite::Instance().Close();
  EXPECT_FALSE(BarSite::Instance().HasBar());

  abi::RenderSettingsRecord settings{};
  settings.version = abi::kRenderSettingsVersion;
  ASSERT_EQ(record_.getRenderSettings(1, &settings), abi::kOk);
  EXPECT_EQ(At<uint32_t>(&settings, 12), 320u);
  EXPECT_EQ(At<uint32_t>(&settings, 16), 240u);
  EXPECT_EQ(At<uint32_t>(&settings, 60), static_cast<uint32_t>('N'));
  EXPECT_EQ(At<uint32_t>(&settings, 20), 0u);  // no window
  const std::string directory = settings.outputDirectory;
  EXPECT_EQ(directory,
            (std::filesystem::path(testing::EveryKindScenePath()).parent_path() / "out/").string());
  EXPECT_EQ(std::string(settings.sceneFile), testing::EveryKindScenePath());

  abi::EnvironmentRecord environment{};
  environment.version = abi::kEnvironmentVersion;
  ASSERT_EQ(record_.getEnvironment(&environment), abi::kOk);
  EXPECT_EQ(At<double>(&environment, 8 + 16), 0.9);  // background blue
  EXPECT_EQ(At<uint32_t>(&environment, 56), 4u);

  abi::ViewRecord view{};
  view.version = abi::kViewRecordVersion;
  ASSERT_EQ(record_.getViewInfo(3, &view), abi::kOk);
  EXPECT_EQ(At<int32_t>(&view, 4), 400);  // bottom right: left edge at half the width
  EXPECT_EQ(At<uint32_t>(&view, 84), 800u);
  view.bottom = 500;
  view.flags = abi::kViewMaximised;
  ASSERT_EQ(record_.setViewInfo(3, &view), abi::kOk);
  abi::ViewRecord again{};
  again.version = abi::kViewRecordVersion;
  ASSERT_EQ(record_.getViewInfo(3, &again), abi::kOk);
  EXPECT_EQ(again.bottom, 500);
  EXPECT_EQ(again.flags, abi::kViewMaximised);

  abi::PreviewRecord preview{};
  preview.version = abi::kPreviewRecordVersion;
  ASSERT_EQ(record_.getPreviewInfo(0, &preview), abi::kOk);
  EXPECT_EQ(preview.capable, 0u);
  EXPECT_EQ(preview.putPixel, nullptr);
  void* plugin = &preview;
  const abi::InterfaceId rib{0x4090FCA2u, 0xED9FD29Eu};
  EXPECT_EQ(record_.findPlugin(&rib, &plugin), abi::kNotFound);
  EXPECT_EQ(plugin, nullptr);
}

TEST_F(HostFunctions, FindFileSearchesSceneFolderThenConfiguredFoldersAndChecksTheBuffer) {
  char path[abi::kMaxPath] = "C:\\Zarvel\\Maps\\tiles.png";  // a foreign path: the name counts
  ASSERT_EQ(record_.findFile(abi::kFindImageMap, path), abi::kOk);
  EXPECT_EQ(std::filesystem::path(path).parent_path(),
            std::filesystem::path(testing::EveryKindScenePath()).parent_path());
  std::strcpy(path, "no-such-file.png");
  EXPECT_EQ(record_.findFile(abi::kFindImageMap, path), abi::kNotFound);
  EXPECT_STREQ(path, "no-such-file.png");
  char unterminated[abi::kMaxPath];
  std::memset(unterminated, 'a', sizeof unterminated);
  EXPECT_EQ(record_.findFile(abi::kFindImageMap, unterminated), abi::kRecordTooSmall);
}

TEST(HostFunctionsWithoutScene, AnswerNoScene) {
  abi::SceneRecord record{};
  FillSceneRecord(record);
  uint32_t id = 0;
  EXPECT_EQ(record.getChild(abi::kObjectList, 0, &id), abi::kNoScene);
  EXPECT_EQ(record.setUpdateMode(1), abi::kNoScene);
  char path[abi::kMaxPath] = "x.png";
  EXPECT_EQ(record.findFile(abi::kFindImageMap, path), abi::kNoScene);
}

}  // namespace
}  // namespace lumetra::host
