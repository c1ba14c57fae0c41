#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/anim_export_command.h"
#include "app/anim_import_command.h"
#include "app/key_command.h"
#include "host/scene_file.h"
#include "tools/pose_command.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path Folder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("lumetra-anim-test-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

fs::path WriteScene(const fs::path& path, const json& objects) {
  std::ofstream(path) << json{{"format", "lumetra-scene"}, {"version", 1}, {"objects", objects}}.dump(2);
  return path;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scene whose ball moves from x = 0 at frame 0 to x = 4 at frame 30, keyed and saved.
fs::path AnimatedScene(const fs::path& folder) {
  const fs::path scene = WriteScene(folder / "source.json", {{{"type", "sphere"}, {"name", "Ball"}}});
  const fs::path once = folder / "once.json", twice = folder / "twice.json";
  std::ostringstream err;
  EXPECT_EQ(RunKey(scene.string(), LUMETRA_PLUGIN_PATH,
                   {"0", "Ball", "linear", std::array{0.0, 0.0, 0.0}, {}, {}}, once.string(), err),
            0)
      << err.str();
  EXPECT_EQ(RunKey(once.string(), LUMETRA_PLUGIN_PATH,
                   {"30", "Ball", "linear", std::array{4.0, 0.0, 0.0}, {}, {}}, twice.string(), err),
            0)
      << err.str();
  return twice;
}

TEST(AnimCommands, AnAnimationMovesToAnotherSceneByName) {
  const fs::path folder = Folder("move");
  const fs::path source = AnimatedScene(folder), data = folder / "ball.anim";
  std::ostringstream err;
  ASSERT_EQ(RunAnimExport(source.string(), LUMETRA_PLUGIN_PATH, data.string(), err), 0) << err.str();
  const host::Scene saved = host::LoadScene(source.string());
  ASSERT_EQ(saved.pluginChunks.size(), 1u);
  EXPECT_EQ(ReadBytes(data), saved.pluginChunks[0].bytes) << "exactly the bytes the scene file stores";

  // The target has the ball at another place in its list, and a crate nobody animates.
  const fs::path target = WriteScene(
      folder / "target.json", {{{"type", "box"}, {"name", "Crate"}}, {{"type", "sphere"}, {"name", "Ball"}}});
  const fs::path out = folder / "out.json";
  ASSERT_EQ(RunAnimImport(target.string(), data.string(), LUMETRA_PLUGIN_PATH, out.string(), err), 0)
      << err.str();
  std::vector<uint8_t> again;
  {
    // Frame 15 at 15 frames per second lies halfway between the keys.
    KeyingSession session(out.string(), LUMETRA_PLUGIN_PATH);
    again = session.Session().PluginData();
    session.PoseAt(4800);
    EXPECT_DOUBLE_EQ(session.Session().Scene().FindByName("Ball")->params.translate[0], 2.0);
  }
  EXPECT_EQ(again, saved.pluginChunks[0].bytes) << "the tracks found their object again";
}

TEST(AnimCommands, PoseListsTheObjectsOfImportedKeys) {
  const fs::path folder = Folder("pose");
  const fs::path source = AnimatedScene(folder), data = folder / "ball.anim";
  std::ostringstream out, err;
  ASSERT_EQ(RunAnimExport(source.string(), LUMETRA_PLUGIN_PATH, data.string(), err), 0) << err.str();
  const fs::path target = WriteScene(
      folder / "target.json", {{{"type", "box"}, {"name", "Crate"}}, {{"type", "sphere"}, {"name", "Ball"}}});
  const fs::path imported = folder / "imported.json";
  ASSERT_EQ(RunAnimImport(target.string(), data.string(), LUMETRA_PLUGIN_PATH, imported.string(), err), 0);
  // No keying script here: the keys are the plug-in's data in the file.
  ASSERT_EQ(tools::RunPose(imported.string(), LUMETRA_PLUGIN_PATH, "15", true, out, err), 0) << err.str();
  const json document = json::parse(out.str());
  ASSERT_EQ(document["objects"].size(), 1u) << "the ball, not the crate";
  EXPECT_EQ(document["objects"][0]["name"], "Ball");
  EXPECT_DOUBLE_EQ(document["objects"][0]["params"]["Translate"][0].get<double>(), 2.0);
}

TEST(AnimCommands, NothingToExportWritesNothing) {
  const fs::path folder = Folder("empty");
  const fs::path scene = WriteScene(folder / "still.json", {{{"type", "sphere"}, {"name", "Ball"}}});
  const fs::path data = folder / "none.anim";
  std::ostringstream err;
  EXPECT_EQ(RunAnimExport(scene.string(), LUMETRA_PLUGIN_PATH, data.string(), err), 1);
  EXPECT_NE(err.str().find("no animated objects"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(data));
}

TEST(AnimCommands, DamagedOrMissingDataLeavesTheOutputUnwritten) {
  const fs::path folder = Folder("damaged");
  const fs::path source = AnimatedScene(folder), data = folder / "ball.anim", cut = folder / "cut.anim";
  std::ostringstream err;
  ASSERT_EQ(RunAnimExport(source.string(), LUMETRA_PLUGIN_PATH, data.string(), err), 0) << err.str();
  const std::vector<uint8_t> bytes = ReadBytes(data);
  std::ofstream(cut, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() - 10));
  const fs::path out = folder / "out.json";
  EXPECT_EQ(RunAnimImport(source.string(), cut.string(), LUMETRA_PLUGIN_PATH, out.string(), err), 1);
  EXPECT_NE(err.str().find("could not take all of"), std::string::npos) << err.str();
  EXPECT_EQ(RunAnimImport(source.string(), (folder / "absent.anim").string(), LUMETRA_PLUGIN_PATH,
                          out.string(), err),
            1);
  EXPECT_NE(err.str().find("cannot read"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace lumetra::app
