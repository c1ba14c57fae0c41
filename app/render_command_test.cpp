// lumetra render: a still through the plug-in's "&Render" command, as a host runs it.
#include "app/render_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/testing/interrupt_stream.h"
#include "host/desktop.h"
#include "host/testing/scene_test_support.h"
#include "platform/config_paths.h"
#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

const std::string kScene = host::testing::EveryKindScenePath();

struct Outcome {
  int code;
  std::string out, err;
};

Outcome RenderScene(app::RenderArgs args) {
  args.progress = "none";
  std::ostringstream out, err;
  const int code = app::RunRender(args, LUMETRA_PLUGIN_PATH, out, err);
  return {code, out.str(), err.str()};
}

// Width and height of a PNG file, read from its header.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  EXPECT_EQ(header[1], 'P');
  EXPECT_EQ(header[12], 'I');  // IHDR
  auto be = [&](int at) {
    return uint32_t{header[at]} << 24 | uint32_t{header[at + 1]} << 16 | uint32_t{header[at + 2]} << 8 |
           header[at + 3];
  };
  return {be(16), be(20)};
}

bool OnlyFile(const fs::path& folder, const std::string& name) {
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ++count;
    if (entry.path().filename() != name) return false;
  }
  return count == 1;
}

TEST(RenderCommand, RendersASceneToTheAskedPicture) {
  platform::ScratchDirectory dir;
  const fs::path picture = dir / "show.png";
  const Outcome run = RenderScene({kScene, picture.string(), "", "48x36"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "Wrote " + picture.string() + " (48x36)\n");
  EXPECT_EQ(PngSize(picture), (std::pair<uint32_t, uint32_t>{48, 36}));
  EXPECT_TRUE(OnlyFile(dir.Path(), "show.png"));  // the staging folder is gone
}

TEST(RenderCommand, APictureNamedFromAnotherFolderThanTheScenesLandsThere) {
  platform::ScratchDirectory dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir.Path());
  const Outcome run = RenderScene({kScene, "here.png", "", "32x24"});
  fs::current_path(before);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(OnlyFile(dir.Path(), "here.png"));
}

TEST(RenderCommand, AMethodForOneRunLeavesTheUsersSettingsAlone) {
  platform::ScratchDirectory dir;
  const fs::path picture = dir / "lines.bmp";
  const Outcome run = RenderScene({kScene, picture.string(), "wireframe", "40x30"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::ifstream bmp(picture, std::ios::binary);
  char magic[2] = {};
  bmp.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM");
  platform::Registry registry;
  platform::RegistryKey key;
  uint32_t method = 4;
  if (registry.OpenKey(platform::RegistryRoot::CurrentUser,
                       "Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra",
                       platform::RegistryAccess::Read, key) == platform::ERROR_SUCCESS) {
    key.QueryDword("RenderMethod", method);
  }
  EXPECT_NE(method, 0u) << "the user's stored method became Wireframe";
}

// The columns and rows of a binary PPM picture that hold a pixel other than black.
std::pair<int, int> LitExtent(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  std::set<int> columns, rows;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char rgb[3] = {};
      in.read(reinterpret_cast<char*>(rgb), 3);
      if (rgb[0] || rgb[1] || rgb[2]) {
        columns.insert(x);
        rows.insert(y);
      }
    }
  }
  EXPECT_TRUE(in) << file;
  return {static_cast<int>(columns.size()), static_cast<int>(rows.size())};
}

TEST(RenderCommand, APictureOfAnotherShapeThanTheCamerasIsNotStretched) {
  platform::ScratchDirectory dir;
  const fs::path scene = dir / "ball.json";
  std::ofstream(scene) << R"({"format": "lumetra-scene", "version": 1,
    "environment": {"background": [0, 0, 0], "ambient": [1, 1, 1]},
    "cameras": [{"type": "camera", "location": [0, 0, -6], "look_at": [0, 0, 0], "aspect": 1.3333333333333333}],
    "objects": [{"type": "sphere"}]})";
  for (const char* size : {"80x40", "40x60"}) {
    const fs::path picture = dir / (std::string(size) + ".ppm");
    const Outcome run = RenderScene({scene.string(), picture.string(), "ZBuffer", size});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto [across, down] = LitExtent(picture);
    EXPECT_GT(across, 4) << size;
    EXPECT_NEAR(across, down, 1) << size << ": the ball is round";
  }
}

// The distinct colours of a binary PPM picture.
size_t ColourCount(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  std::set<uint32_t> colours;
  for (int i = 0; i < width * height; ++i) {
    unsigned char rgb[3] = {};
    in.read(reinterpret_cast<char*>(rgb), 3);
    colours.insert(uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2]);
  }
  EXPECT_TRUE(in) << file;
  return colours.size();
}

TEST(RenderCommand, AntiAliasingForOneRunBlendsTheEdges) {
  platform::ScratchDirectory dir;
  app::RenderArgs plain{kScene, (dir / "plain.ppm").string(), "", "64x48"};
  app::RenderArgs smooth = plain;
  smooth.output = (dir / "smooth.ppm").string();
  smooth.antialias = 3;
  ASSERT_EQ(RenderScene(plain).code, 0);
  const Outcome run = RenderScene(smooth);
  ASSERT_EQ(run.code, 0) << run.err;
  // Edge pixels become mixtures of their neighbours' colours.
  EXPECT_GT(ColourCount(dir / "smooth.ppm"), ColourCount(dir / "plain.ppm") + 100);
}

TEST(RenderCommand, BadArgumentsNameTheProblemAndWriteNothing) {
  platform::ScratchDirectory dir;
  const std::string png = (dir / "x.png").string();
  struct Case {
    app::RenderArgs args;
    std::string says;
  } cases[] = {
      {{kScene, png, "", "640"}, "--size wants WIDTHxHEIGHT"},
      {{kScene, png, "", "0x10"}, "--size wants WIDTHxHEIGHT"},
      {{kScene, png, "", "99999x10"}, "--size wants WIDTHxHEIGHT"},
      {{kScene, png, "photon", ""}, "unknown method 'photon'"},
      {{kScene, (dir / "x.gif").string(), "", ""}, "use .png, .bmp, .tga or .ppm"},
  };
  for (const Case& c : cases) {
    const Outcome run = RenderScene(c.args);
    EXPECT_EQ(run.code, app::kRenderBadArguments) << c.says;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(RenderCommand, ABrokenSceneFileFails) {
  platform::ScratchDirectory dir;
  std::ofstream(dir / "broken.json") << "{ \"objects\": [";
  const Outcome run = RenderScene({(dir / "broken.json").string(), (dir / "x.png").string(), "", ""});
  EXPECT_EQ(run.code, app::kRenderFailed);
  EXPECT_NE(run.err.find("broken.json"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST(RenderCommand, InterruptingTheRenderEndsItWithoutAPicture) {
  platform::ScratchDirectory dir;
  app::RenderArgs args{kScene, (dir / "show.png").string(), "", "48x36"};
  args.progress = "lines";
  std::ostringstream out;
  app::testing::InterruptStream err("rendering: ");
  const int code = app::RunRender(args, LUMETRA_PLUGIN_PATH, out, err);
  ASSERT_TRUE(err.Sent()) << err.Text();
  EXPECT_EQ(code, app::kRenderInterrupted) << err.Text();
  EXPECT_NE(err.Text().find("interrupted; no picture written"), std::string::npos) << err.Text();
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(fs::is_empty(dir.Path()));  // neither the picture nor the staging folder
}

}  // namespace
}  // namespace lumetra
