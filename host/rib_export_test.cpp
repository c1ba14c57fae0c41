#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "abi/result_codes.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/plugin_module.h"
#include "host/rib_export_run.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::host {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the stand-in renderer while the object lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

Scene OneSphere() {
  Scene scene;
  scene.Add(abi::kTypeSphere, abi::kObjectList).name = "Ball";
  scene.render.width = 64;
  scene.render.height = 48;
  return scene;
}

std::string Text(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

TEST(RibExportRunTest, WritesTheRibAndAnswersThePictureTheRendererMade) {
  platform::ScratchDirectory dir;
  const std::string rib = (dir / "shot.rib").string();
  const RibRenderResult result =
      ExportAndRenderRib(OneSphere(), LUMETRA_STAND_IN_RIB_RENDERER, rib, dir.Path().string().size() + 1);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.image, (dir / "shot.tif").string());
  EXPECT_EQ(Text(result.image), "picture");
  const std::string written = Text(rib);
  EXPECT_NE(written.find("Display \"" + result.image + "\""), std::string::npos) << written;
  EXPECT_NE(written.find("Format 64 48 1"), std::string::npos);
  EXPECT_NE(written.find("Sphere"), std::string::npos);
}

TEST(RibExportRunTest, AFailingRendererLeavesNoPicture) {
  platform::ScratchDirectory dir;
  const std::string rib = (dir / "shot.rib").string();
  const size_t folder = dir.Path().string().size() + 1;
  std::ofstream(dir / "shot.tif") << "stale";
  {
    ScopedEnv exit("STAND_IN_EXIT", "3");
    const RibRenderResult result =
        ExportAndRenderRib(OneSphere(), LUMETRA_STAND_IN_RIB_RENDERER, rib, folder);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("exit 3"), std::string::npos) << result.error;
    EXPECT_FALSE(fs::exists(dir / "shot.tif"));  // the half-made picture and the stale one
  }
  {
    // A renderer that says it succeeded but wrote nothing: the old picture must not stand in.
    std::ofstream(dir / "shot.tif") << "stale";
    ScopedEnv none("STAND_IN_NO_PICTURE", "1");
    const RibRenderResult result =
        ExportAndRenderRib(OneSphere(), LUMETRA_STAND_IN_RIB_RENDERER, rib, folder);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("wrote no picture"), std::string::npos) << result.error;
    EXPECT_FALSE(fs::exists(dir / "shot.tif"));
  }
  const RibRenderResult missing =
      ExportAndRenderRib(OneSphere(), (dir / "no-renderer").string(), rib, folder);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("no-renderer"), std::string::npos) << missing.error;
  EXPECT_FALSE(ExportAndRenderRib(OneSphere(), LUMETRA_STAND_IN_RIB_RENDERER, rib, rib.size() + 1).ok);
}

TEST(RibExportRunTest, TheOldRendererNameStandsForLumetraRibOnThePath) {
  platform::ScratchDirectory dir;
  fs::copy_file(LUMETRA_STAND_IN_RIB_RENDERER, dir / "lumetra-rib");
  ScopedEnv path("PATH", dir.Path().string() + ":" + (getenv("PATH") ? getenv("PATH") : ""));
  EXPECT_EQ(ResolveRibRenderer("rendrib.exe"), (dir / "lumetra-rib").string());
  EXPECT_EQ(ResolveRibRenderer("rendrib"), (dir / "lumetra-rib").string());
  EXPECT_EQ(ResolveRibRenderer("lumetra-rib"), (dir / "lumetra-rib").string());
  EXPECT_EQ(ResolveRibRenderer("no-such-renderer-here"), std::nullopt);
  // A name without a folder keeps no folder of its own: the picture lands beside the
  // working folder's RIB file, here a bare one.
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Path());
  const RibRenderResult result = ExportAndRenderRib(OneSphere(), "rendrib.exe", ".rib", 0);
  fs::current_path(previous);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.image, ".tif");
}

// The exporter plug-in as the host loads it: found by identifier while it is loaded, it
// renders the host's current scene.
TEST(RibExporterPluginTest, HostOffersItByIdentifierAndItRendersTheCurrentScene) {
  abi::SceneRecord record{};
  FillSceneRecord(record);
  void* found = nullptr;
  EXPECT_EQ(record.findPlugin(&abi::kRibExporterId, &found), abi::kNotFound);
  platform::ScratchDirectory dir;
  {
    std::unique_ptr<PluginModule> exporter = PluginModule::Load(LUMETRA_RIB_EXPORTER_PATH);
    ASSERT_NE(exporter->RibExporter(), nullptr);
    EXPECT_EQ(exporter->Scene(), nullptr);
    ASSERT_EQ(record.findPlugin(&abi::kRibExporterId, &found), abi::kOk);
    ASSERT_EQ(found, exporter->RibExporter());
    const abi::InterfaceId other{abi::kRibExporterId.low, 0};
    void* none = nullptr;
    EXPECT_EQ(record.findPlugin(&other, &none), abi::kNotFound);

    auto* rib = static_cast<abi::RibExporterRecord*>(found);
    const std::string file = (dir / "scene.rib").string();
    const int32_t folder = static_cast<int32_t>(dir.Path().string().size() + 1);
    char image[abi::kRibImageNameBytes] = "junk";
    // No scene in the host: nothing to export.
    EXPECT_NE(rib->exportAndRender(LUMETRA_STAND_IN_RIB_RENDERER, file.c_str(), folder, image), 0);
    EXPECT_STREQ(image, "");
    Scene scene = OneSphere();
    HostContext context(scene);
    ASSERT_EQ(rib->exportAndRender(LUMETRA_STAND_IN_RIB_RENDERER, file.c_str(), folder, image), 0);
    EXPECT_EQ(std::string(image), (dir / "scene.tif").string());
    EXPECT_NE(Text(file).find("\"Ball\""), std::string::npos);
    ScopedEnv exit("STAND_IN_EXIT", "1");
    EXPECT_NE(rib->exportAndRender(LUMETRA_STAND_IN_RIB_RENDERER, file.c_str(), folder, image), 0);
    EXPECT_FALSE(fs::exists(dir / "scene.tif"));
  }
  EXPECT_EQ(record.findPlugin(&abi::kRibExporterId, &found), abi::kNotFound);
}

}  // namespace
}  // namespace lumetra::host
