#include "app/pov_render.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "app/animate_command.h"
#include "app/render_command.h"
#include "image/image.h"
#include "image/image_loader.h"
#include "platform/subprocess.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;

// What POV-Ray 3.7 wrote for a red sphere at 64 x 48.
const std::string kPovPicture =
    std::string(LUMETRA_SOURCE_DIR) + "/povbridge/testdata/povray-3.7-sphere-64x48.png";

// A scene and a stand-in for POV-Ray that the render call finds through $LUMETRA_POVRAY.
class PovRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The shared blocks are the machine's; tests that run side by side take their own.
    ::setenv("LUMETRA_SHM_NAMESPACE", ("povrender" + std::to_string(::getpid())).c_str(), 1);
    std::ofstream(scene_)
        << R"({"format": "lumetra-scene", "version": 1, "render": {"width": 64, "height": 48},
      "cameras": [{"type": "camera", "active": true, "location": [0, 1, -3], "look_at": [0, 0, 0]}],
      "objects": [{"type": "point_light", "transform": {"translate": [2, 4, -3]}}, {"type": "sphere"}]})";
  }
  void TearDown() override { ::unsetenv("LUMETRA_POVRAY"); }

  // POV-Ray as a shell script: `body` runs with $out set to the picture to write.
  void FakePovRay(const std::string& body) {
    const std::string path = (dir_ / "povray").string();
    std::ofstream(path) << "#!/bin/sh\nfor a; do case \"$a\" in +O*) out=\"${a#+O}\";; esac; done\n"
                        << body << "\n";
    ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
    ::setenv("LUMETRA_POVRAY", path.c_str(), 1);
  }

  int Render(std::string& err) {
    RenderArgs args;
    args.scene = scene_;
    args.output = picture_;
    args.method = "POV-Ray";
    args.progress = "none";
    std::ostringstream out, errors;
    const int code = RunRender(args, LUMETRA_PLUGIN_PATH, out, errors);
    err = errors.str();
    return code;
  }

  platform::ScratchDirectory dir_;
  std::string scene_ = (dir_ / "sphere.json").string();
  std::string picture_ = (dir_ / "sphere.png").string();
};

TEST_F(PovRenderTest, ThePictureOfPovRayBecomesTheRendersPicture) {
  FakePovRay(
      "test -f scene.pov && grep -q 'sphere' scene.pov || exit 3\n"
      "printf 'Rendered 3072 of 3072 pixels (100%%)\\r' >&2\ncp '" +
      kPovPicture + "' \"$out\"");
  std::string err;
  ASSERT_EQ(Render(err), 0) << err;
  image::Image wrote, povray;
  ASSERT_EQ(image::LoadImage(wrote, picture_), 1);
  ASSERT_EQ(image::LoadImage(povray, kPovPicture), 1);
  ASSERT_EQ(wrote.Width(), 64);
  ASSERT_EQ(wrote.Height(), 48);
  for (int32_t y = 0; y < 48; y += 7) {
    for (int32_t x = 0; x < 64; x += 5) {
      const auto a = wrote.Bgra(x, wrote.StoredRowOfTopRow(y)),
                 b = povray.Bgra(x, povray.StoredRowOfTopRow(y));
      ASSERT_TRUE(std::equal(a.begin(), a.begin() + 3, b.begin())) << x << "," << y;
    }
  }
}

TEST_F(PovRenderTest, AFailingPovRayWritesNoPictureAndSaysWhy) {
  FakePovRay("echo \"File 'scene.pov' line 3: Parse Error: Expected 'object', } found instead\" >&2\nexit 1");
  std::string err;
  EXPECT_EQ(Render(err), kRenderFailed) << err;
  EXPECT_FALSE(fs::exists(picture_));
}

TEST_F(PovRenderTest, MissingPovRayIsOneLineNamingThePackage) {
  ::setenv("LUMETRA_POVRAY", (dir_ / "no-povray-here").c_str(), 1);
  std::string err;
  EXPECT_EQ(Render(err), kRenderBadArguments);
  EXPECT_NE(err.find("install the package povray"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
  EXPECT_FALSE(fs::exists(picture_));
  EXPECT_EQ(PovRenderProblem({"povray-nowhere", "/bin/sh"}).find("POV-Ray is not installed"), 0u);
  EXPECT_NE(PovRenderProblem({"sh", (dir_ / "lumetra-povbridge").string()}).find("bridge"),
            std::string::npos);
}

// POV-Ray reads the host's scene, so every frame of an animation poses it first.
TEST_F(PovRenderTest, EachFrameOfAnAnimationHandsPovRayTheSceneAsPosedThen) {
  const std::string seen = (dir_ / "seen").string();
  fs::create_directory(seen);
  FakePovRay("cp scene.pov '" + seen + "'/$$.pov\ncp '" + kPovPicture + "' \"$out\"");
  AnimateArgs args;
  args.scene = std::string(LUMETRA_SOURCE_DIR) + "/examples/orbit/orbit.json";
  args.output = (dir_ / "orbit.png").string();
  args.method = "POV-Ray";
  args.size = "64x48";
  args.end = "1s";
  args.fps = "3";
  args.progress = "none";
  std::ostringstream out, err;
  ASSERT_EQ(RunAnimate(args, LUMETRA_PLUGIN_PATH, out, err), 0) << err.str();
  std::set<std::string> scenes;
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(seen)) {
    std::ifstream file(entry.path());
    std::stringstream text;
    text << file.rdbuf();
    scenes.insert(text.str());
    ++files;
  }
  EXPECT_EQ(files, 4u);  // frames at 0, 1/3, 2/3 and 1 second
  EXPECT_EQ(scenes.size(), files) << "a frame saw the scene as another frame did";
  EXPECT_TRUE(fs::exists(dir_ / "orbit-00003.png"));
}

// Ctrl-C at the terminal ends the whole render: the command, the bridge and POV-Ray.
TEST_F(PovRenderTest, InterruptingTheCommandLeavesNoPovRayBehind) {
  const std::string pidFile = (dir_ / "povray.pid").string();
  FakePovRay("echo $$ > '" + pidFile + "'\nexec sleep 30");
  std::string error;
  const auto lumetra = platform::Spawn(
      {LUMETRA_EXECUTABLE, "render", scene_, "--method", "POV-Ray", "-o", picture_, "--progress", "none"}, {},
      &error);
  ASSERT_TRUE(lumetra) << error;
  int povray = 0;
  for (int i = 0; i < 1000 && povray == 0; ++i) {
    std::ifstream(pidFile) >> povray;
    if (povray == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GT(povray, 0);
  ::kill(lumetra->pid, SIGINT);
  EXPECT_EQ(platform::WaitForExit(lumetra->pid), kRenderInterrupted);
  bool gone = false;
  for (int i = 0; i < 300 && !gone; ++i) {
    gone = ::kill(povray, 0) != 0;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(gone) << "POV-Ray is still running";
  EXPECT_FALSE(fs::exists(picture_));
}

}  // namespace
}  // namespace lumetra::app
