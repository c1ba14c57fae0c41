#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/host_session.h"
#include "app/info_command.h"
#include "app/key_command.h"
#include "app/validate_command.h"
#include "host/scene_file.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kScene = host::testing::EveryKindScenePath();

fs::path Folder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("lumetra-app-test-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TEST(Validate, AGoodSceneIsReportedWithItsCountsAndABadOneWithItsPlace) {
  std::ostringstream out, err;
  EXPECT_EQ(RunValidate(kScene, out, err), 0);
  EXPECT_THAT(out.str(), HasSubstr(": ok, "));
  EXPECT_THAT(out.str(), HasSubstr("1 cameras"));
  EXPECT_EQ(err.str(), "");

  const fs::path bad = Folder("validate") / "bad.json";
  std::ofstream(bad) << R"({"format": "lumetra-scene", "version": 1, "objects": [{"type": 3}]})";
  std::ostringstream out2, err2;
  EXPECT_EQ(RunValidate(bad.string(), out2, err2), 1);
  EXPECT_EQ(out2.str(), "");
  EXPECT_THAT(err2.str(), HasSubstr(bad.string() + ": at /objects/0/type: expected a string"));
}

TEST(Info, JsonNestsChildrenWithNumericTypesAndListsCamerasAndMaterials) {
  std::ostringstream out, err;
  ASSERT_EQ(RunInfo(kScene, LUMETRA_PLUGIN_PATH, true, out, err), 0) << err.str();
  const auto document = nlohmann::json::parse(out.str());
  const auto& objects = document.at("objects");
  const auto carved =
      std::find_if(objects.begin(), objects.end(), [](const auto& o) { return o.at("name") == "Carved"; });
  ASSERT_NE(carved, objects.end());
  EXPECT_EQ(carved->at("type"), 12);
  ASSERT_EQ(carved->at("children").size(), 2u);
  EXPECT_EQ(carved->at("children")[1].at("name"), "Carved Hole");
  EXPECT_EQ(carved->at("children")[1].at("type"), 3);
  EXPECT_EQ(document.at("cameras")[0].at("name"), "Camera");
  EXPECT_EQ(document.at("cameras")[0].at("type"), 5);
  EXPECT_EQ(document.at("materials")[0], (nlohmann::json{{"name", "Marble"}}));

  std::ostringstream text, textErr;
  ASSERT_EQ(RunInfo(kScene, LUMETRA_PLUGIN_PATH, false, text, textErr), 0);
  EXPECT_THAT(text.str(), HasSubstr("    Carved Hole  (sphere, type 3)\n"));
}

TEST(Info, AMissingPluginOrBadSceneExitsWithOne) {
  std::ostringstream out, err;
  EXPECT_EQ(RunInfo(kScene, "/nonexistent/liblumetra.so", false, out, err), 1);
  EXPECT_THAT(err.str(), HasSubstr("cannot load plug-in"));
  std::ostringstream out2, err2;
  EXPECT_EQ(RunInfo("/nonexistent/scene.json", LUMETRA_PLUGIN_PATH, false, out2, err2), 1);
  EXPECT_THAT(err2.str(), HasSubstr("/nonexistent/scene.json: cannot open the file"));
}

TEST(HostSession, SendsReadyThenSceneInPlaceAndKeepsOtherPluginsData) {
  const fs::path folder = Folder("session");
  fs::copy(fs::path(kScene).parent_path(), folder, fs::copy_options::recursive);
  host::Scene scene = host::LoadScene((folder / "every-kind.json").string());
  scene.pluginChunks.push_back({"Another Plug-in", {1, 2, 3}});
  host::SaveScene(scene, (folder / "with-data.json").string());

  auto session = HostSession::Open((folder / "with-data.json").string(), LUMETRA_PLUGIN_PATH);
  ASSERT_EQ(session->EventResults().size(), 2u);
  EXPECT_EQ(session->EventResults()[0].first, 7);
  EXPECT_EQ(session->EventResults()[1].first, 6);
  EXPECT_NE(session->Plugin().Scene()->getObjectInfo, nullptr);
  session->Save((folder / "saved.json").string());
  session.reset();

  const host::Scene saved = host::LoadScene((folder / "saved.json").string());
  EXPECT_EQ(saved.pluginChunks, (std::vector<host::PluginChunk>{{"Another Plug-in", {1, 2, 3}}}));
  EXPECT_EQ(saved.ObjectCount(), scene.ObjectCount());
}

// Whether the plug-in keeps keys for some object: it enables "&Animation" only then.
bool AnimationEnabled(HostSession& session) {
  for (const host::MenuEntry& entry : session.Plugin().MenuEntries()) {
    if (entry.text == abi::kMenuTextAnimation) return entry.enabled.value_or(true);
  }
  ADD_FAILURE() << "no animation command";
  return false;
}

bool Holds(const std::vector<uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// every-kind.json with "Marble Ball" keyed at 0 and 1s, saved as keyed.json beside it.
fs::path KeyedScene(const std::string& name) {
  const fs::path folder = Folder(name);
  fs::copy(fs::path(kScene).parent_path(), folder, fs::copy_options::recursive);
  const fs::path keyed = folder / "keyed.json";
  std::ostringstream err;
  const auto scene = (folder / "every-kind.json").string();
  EXPECT_EQ(RunKey(scene, LUMETRA_PLUGIN_PATH, {"0", "Marble Ball", "linear", {{0, 1, 0}}, {}, {}},
                   keyed.string(), err),
            0)
      << err.str();
  EXPECT_EQ(RunKey(keyed.string(), LUMETRA_PLUGIN_PATH, {"1s", "Marble Ball", "linear", {{2, 1, 0}}, {}, {}},
                   keyed.string(), err),
            0)
      << err.str();
  return keyed;
}

TEST(HostSession, AReplacedSceneIsClosedThenPutInPlaceWithItsOwnContextAndData) {
  const fs::path keyed = KeyedScene("replace");
  std::vector<host::Scene*> setUp;
  auto session = HostSession::Open(kScene, LUMETRA_PLUGIN_PATH, [&](host::HostContext& context) {
    context.mainWindow = 42;
    setUp.push_back(&context.GetScene());
  });
  ASSERT_EQ(setUp.size(), 1u);
  EXPECT_FALSE(AnimationEnabled(*session));

  session->Replace(host::LoadScene(keyed.string()));
  ASSERT_EQ(setUp.size(), 2u);
  EXPECT_EQ(setUp.back(), &session->Scene());
  EXPECT_EQ(session->Context().mainWindow, 42u);
  EXPECT_EQ(host::HostContext::Current(), &session->Context());
  const auto& events = session->EventResults();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[2], (std::pair<int32_t, int32_t>{8, 0}));
  EXPECT_EQ(events[3], (std::pair<int32_t, int32_t>{6, 0}));
  EXPECT_TRUE(AnimationEnabled(*session));

  // A new scene drops the keys of the one before.
  session->Replace(host::Scene());
  EXPECT_EQ(session->Scene().ObjectCount(), 0u);
  EXPECT_FALSE(AnimationEnabled(*session));
}

TEST(HostSession, MergedKeysFollowTheirObjectToItsNewName) {
  const fs::path keyed = KeyedScene("merge");
  auto session = HostSession::Open(kScene, LUMETRA_PLUGIN_PATH);
  const size_t before = session->Scene().ObjectCount();
  const std::vector<host::MergedObject> merged = session->Merge(host::LoadScene(keyed.string()));
  EXPECT_EQ(session->Scene().ObjectCount(), before + merged.size());

  const auto& events = session->EventResults();
  ASSERT_EQ(events.size(), 2 + 4 + 2 * merged.size());
  EXPECT_EQ(events[2].first, 15);
  EXPECT_EQ(events[3].first, 15);
  EXPECT_EQ(events[4].first, 17);
  EXPECT_EQ(events[4].second, 0);  // the plug-in found the object by its id
  EXPECT_EQ(events.back().first, 16);

  EXPECT_TRUE(AnimationEnabled(*session));
  const std::vector<uint8_t> data = session->PluginData();
  EXPECT_TRUE(Holds(data, "Marble Ball 2"));
}

}  // namespace
}  // namespace lumetra::app
