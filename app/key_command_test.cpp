#include "app/key_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/scene_file.h"
#include "tools/pose_command.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path Folder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("lumetra-keys-test-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

// A scene with a ball (and a box that nothing keys), plus a keying script.
fs::path WriteScene(const fs::path& folder, const json& keying) {
  json scene = {{"format", "lumetra-scene"},
                {"version", 1},
                {"objects", {{{"type", "sphere"}, {"name", "Ball"}}, {{"type", "box"}, {"name", "Crate"}}}}};
  if (!keying.is_null()) scene["keying"] = keying;
  const fs::path path = folder / "scene.json";
  std::ofstream(path) << scene.dump(2);
  return path;
}

json Pose(const fs::path& scene, const std::string& time) {
  std::ostringstream out, err;
  EXPECT_EQ(tools::RunPose(scene.string(), LUMETRA_PLUGIN_PATH, time, true, out, err), 0) << err.str();
  return json::parse(out.str());
}

double Hermite(double s, double v0, double t0, double v1, double t1) {
  return (2 * s * s * s - 3 * s * s + 1) * v0 + (s * s * s - 2 * s * s + s) * t0 +
         (3 * s * s - 2 * s * s * s) * v1 + (s * s * s - s * s) * t1;
}

TEST(KeyingScript, ACubicBallPosesOnTheHermiteCurve) {
  const json keying = json::array({
      {{"time", "0s"}, {"object", "Ball"}, {"interpolation", "cubic"}, {"translate", {0, 0, 0}}},
      {{"time", "2s"}, {"object", "Ball"}, {"interpolation", "cubic"}, {"translate", {0, 10, 2}}},
      {{"time", "4s"}, {"object", "Ball"}, {"interpolation", "cubic"}, {"translate", {0, 4, 0}}},
  });
  const fs::path scene = WriteScene(Folder("cubic"), keying);
  const json document = Pose(scene, "1s");
  ASSERT_EQ(document["objects"].size(), 1u) << "only the ball is animated";
  EXPECT_EQ(document["objects"][0]["name"], "Ball");
  // Transform parameters keep their own tangents, all zero: the ball eases into each key.
  const json& translate = document["objects"][0]["params"]["Translate"];
  EXPECT_NEAR(translate[1].get<double>(), Hermite(0.5, 0.0, 0.0, 10.0, 0.0), 1e-9);
  EXPECT_NEAR(translate[2].get<double>(), Hermite(0.5, 0.0, 0.0, 2.0, 0.0), 1e-9);
  const json later = Pose(scene, "12480t");  // 0.6 s past the second key: s = 0.3 of the second segment
  EXPECT_NEAR(later["objects"][0]["params"]["Translate"][1].get<double>(), Hermite(0.3, 10.0, 0.0, 4.0, 0.0),
              1e-9);
  EXPECT_EQ(Pose(scene, "5s")["objects"][0]["params"]["Translate"][1], 4.0) << "after the last key it stays";
  EXPECT_EQ(document["objects"][0]["params"]["Scale"], json({1, 1, 1, 0}));
}

TEST(KeyCommand, KeysAnObjectAndSavesTheSceneToPoseLater) {
  const fs::path folder = Folder("key");
  const fs::path scene = WriteScene(folder, nullptr);
  const fs::path keyed = folder / "keyed.json", twice = folder / "twice.json";
  std::ostringstream err;
  ASSERT_EQ(RunKey(scene.string(), LUMETRA_PLUGIN_PATH,
                   {"0", "Ball", "linear", std::array{1.0, 0.0, 0.0}, {}, {}}, keyed.string(), err),
            0)
      << err.str();
  ASSERT_EQ(RunKey(keyed.string(), LUMETRA_PLUGIN_PATH,
                   {"30", "Ball", "linear", std::array{3.0, 0.0, 0.0}, std::array{0.0, 90.0, 0.0}, {}},
                   twice.string(), err),
            0)
      << err.str();
  EXPECT_EQ(host::LoadScene(twice.string()).keying.size(), 2u);
  // Frame 15 at the default 15 frames per second is 1 s, halfway between the keys.
  const json document = Pose(twice, "15");
  EXPECT_DOUBLE_EQ(document["objects"][0]["params"]["Translate"][0].get<double>(), 2.0);
  EXPECT_NEAR(document["objects"][0]["params"]["Rotate"][1].get<double>(), 45.0, 1e-9);
}

TEST(KeyCommand, BadRequestsLeaveTheOutputUnwritten) {
  const fs::path folder = Folder("bad");
  const fs::path scene = WriteScene(folder, nullptr), out = folder / "out.json";
  std::ostringstream err;
  EXPECT_EQ(
      RunKey(scene.string(), LUMETRA_PLUGIN_PATH, {"0", "Nobody", "linear", {}, {}, {}}, out.string(), err),
      1);
  EXPECT_NE(err.str().find("no object named \"Nobody\""), std::string::npos) << err.str();
  EXPECT_EQ(
      RunKey(scene.string(), LUMETRA_PLUGIN_PATH, {"-1s", "Ball", "linear", {}, {}, {}}, out.string(), err),
      1);
  EXPECT_NE(err.str().find("outside the control bar's slider"), std::string::npos) << err.str();
  EXPECT_EQ(
      RunKey(scene.string(), LUMETRA_PLUGIN_PATH, {"soon", "Ball", "linear", {}, {}, {}}, out.string(), err),
      1);
  EXPECT_FALSE(fs::exists(out));
}

TEST(KeyingScript, ABadStepNamesItsPlace) {
  const fs::path folder = Folder("script");
  const json steps[] = {
      json::array({{{"time", "2x"}, {"object", "Ball"}}}),
      json::array({{{"time", 1}, {"object", "Ball"}, {"interpolation", "smooth"}}}),
      json::array({{{"time", 1}, {"object", "Ball"}, {"translate", {1, 2}}}}),
      json::array({{{"time", 1}}}),
  };
  const char* places[] = {"/keying/0/time", "/keying/0/interpolation", "/keying/0/translate", "/keying/0"};
  for (int i = 0; i < 4; ++i) {
    const fs::path scene = WriteScene(folder, steps[i]);
    try {
      host::LoadScene(scene.string());
      ADD_FAILURE() << steps[i].dump();
    } catch (const host::SceneFileError& error) {
      EXPECT_NE(std::string(error.what()).find(places[i]), std::string::npos) << error.what();
    }
  }
  const fs::path good =
      WriteScene(folder, json::array({{{"time", 12}, {"object", "Ball"}, {"scale", {2, 2, 2}}}}));
  const host::Scene loaded = host::LoadScene(good.string());
  ASSERT_EQ(loaded.keying.size(), 1u);
  EXPECT_EQ(loaded.keying[0].time, "12");
  EXPECT_EQ(loaded.keying[0].interpolation, "linear");
  EXPECT_EQ(host::KeyTime::Parse("1.5s")->Ticks(160), 7200);
  EXPECT_EQ(host::KeyTime::Parse("12")->Ticks(160), 1920);
  EXPECT_FALSE(host::KeyTime::Parse("1.5t"));
}

}  // namespace
}  // namespace lumetra::app
