#include "povbridge/pov_bridge.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "abi/pov_blocks.h"
#include "image/image.h"
#include "image/image_loader.h"
#include "platform/byte_reader.h"
#include "platform/shared_memory.h"
#include "platform/subprocess.h"
#include "platform/testing/copy_data_receiver.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::povbridge {
namespace {

const std::string kTestData = LUMETRA_POV_TESTDATA;
const std::string kCapturedPicture = kTestData + "/povray-3.7-sphere-64x48.png";

// The tests of one program run side by side; each process takes blocks of its own, and the
// bridge it starts inherits the names.
struct OwnBlockNames {
  OwnBlockNames() { ::setenv("LUMETRA_SHM_NAMESPACE", ("bridge" + std::to_string(::getpid())).c_str(), 1); }
};

// The shared blocks as the plug-in makes them.
struct Blocks {
  Blocks() {
    std::error_code error;
    control = platform::SharedMemory::Create(abi::pov::kControlName, abi::pov::kControlSize, error);
    EXPECT_FALSE(error) << error.message();
    display = platform::SharedMemory::Create(abi::pov::kDisplayName, abi::pov::kDisplaySize, error);
    EXPECT_FALSE(error) << error.message();
  }
  uint8_t* Pixels() const { return static_cast<uint8_t*>(display.Data()) + abi::pov::kDisplayImageOffset; }

  platform::SharedMemory control;
  platform::SharedMemory display;
};

// A POV-Ray job as the plug-in prepares one, with its render window, and the bridge
// started for it as the host starts it: in a process of its own.
class BridgeJob {
 public:
  BridgeJob(int32_t width, int32_t height) : receiver_(1, 10000) {
    blocks_.control.StoreU32(abi::pov::kWindowField, receiver_.window);
    blocks_.control.StoreU32(abi::pov::kWidthField, static_cast<uint32_t>(width));
    blocks_.control.StoreU32(abi::pov::kHeightField, static_cast<uint32_t>(height));
    blocks_.display.StoreU32(abi::pov::kPictureDueField, abi::pov::kPictureDue);
    blocks_.display.StoreU32(abi::pov::kPercentField, 0);
    std::filesystem::create_directory(folder_);
  }

  // A stand-in for POV-Ray: a shell script with `body`, where $out is the picture to write.
  std::string FakePovRay(const std::string& body) {
    const std::string path = (scratch_ / "povray").string();
    std::ofstream(path) << "#!/bin/sh\nfor a; do case \"$a\" in +O*) out=\"${a#+O}\";; esac; done\n"
                        << body << "\n";
    EXPECT_EQ(::chmod(path.c_str(), 0755), 0);
    return path;
  }

  int Start(const std::string& povray) {
    PovBridgeRequest request{
        povray, {"+I" + (scratch_ / "scene.pov").string(), "+A0.3"}, folder_, ::getpid()};
    std::vector<std::string> arguments{LUMETRA_POVBRIDGE};
    const std::vector<std::string> more = PovBridgeArguments(request);
    arguments.insert(arguments.end(), more.begin(), more.end());
    std::string error;
    const auto bridge = platform::Spawn(arguments, {}, &error);
    EXPECT_TRUE(bridge) << error;
    return bridge ? bridge->pid : -1;
  }

  // Starts the bridge with a POV-Ray that never ends: the processes of both, once POV-Ray
  // runs (0 for POV-Ray when it never started).
  std::pair<int, int> StartHangingPovRay() {
    const std::string pidFile = (scratch_ / "povray.pid").string();
    const int bridge = Start(FakePovRay("echo $$ > '" + pidFile + "'\nexec sleep 30"));
    int povray = 0;
    for (int i = 0; i < 500 && povray == 0; ++i) {
      std::ifstream(pidFile) >> povray;
      if (povray == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {bridge, povray};
  }

  // Runs the bridge with `povray` to its end: its exit status; the window's messages are
  // in Received().
  int Run(const std::string& povray) {
    const int bridge = Start(povray);
    receiver_.loop.Run();
    return platform::WaitForExit(bridge);
  }

  const std::vector<platform::Message>& Received() const { return receiver_.received; }
  uint32_t Code() const {
    if (Received().empty() || Received()[0].copyData.size() < 4) return 0;
    return platform::LoadU32(Received()[0].copyData.data(), platform::ByteOrder::kLittle);
  }
  std::string Reason() const {
    return Received().empty() ? ""
                              : std::string(Received()[0].copyData.begin() + 4, Received()[0].copyData.end());
  }
  Blocks& Shared() { return blocks_; }
  platform::Receiver& Window() { return receiver_; }
  const std::string& Folder() const { return folder_; }
  std::filesystem::path Scratch() const { return scratch_.Path(); }

 private:
  OwnBlockNames names_;
  platform::ScratchDirectory scratch_;
  std::string folder_ = (scratch_ / "render").string();
  Blocks blocks_;
  platform::Receiver receiver_;
};

TEST(PovBridgeTest, ArgumentsMakeTheSameRequestAndNonsenseIsRefused) {
  const PovBridgeRequest sent{"/usr/bin/povray", {"+Iscene.pov", "+A0.3"}, "/tmp/render", 4321};
  PovBridgeRequest read;
  std::string error;
  ASSERT_TRUE(ParsePovBridgeArguments(PovBridgeArguments(sent), read, error)) << error;
  EXPECT_EQ(read.povray, sent.povray);
  EXPECT_EQ(read.povrayArguments, sent.povrayArguments);
  EXPECT_EQ(read.folder, sent.folder);
  EXPECT_EQ(read.hostProcess, 4321);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--host", "12x", "--folder", "f", "--", "a"},
        {"--folder", "f", "--"},
        {"--folder"},
        {"--colour", "red", "--folder", "f", "--", "a"},
        {"--host", "-3", "--folder", "f", "--", "a"}}) {
    PovBridgeRequest request;
    EXPECT_FALSE(ParsePovBridgeArguments(bad, request, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(PovBridgeTest, DeliversThePictureAndItsProgressAndEndsTheWaitWithThree) {
  BridgeJob job(64, 48);
  const std::string povray = job.FakePovRay(
      "printf 'Parsing...\\nRendered 1536 of 3072 pixels (50%%)\\rRendered 3072 of 3072 pixels (100%%)\\r' "
      ">&2\n"
      "cp '" +
      kCapturedPicture + "' \"$out\"");
  EXPECT_EQ(job.Run(povray), 0);
  EXPECT_EQ(job.Code(), 3u);
  EXPECT_EQ(job.Shared().display.LoadU32(abi::pov::kPictureDueField), 0u);
  EXPECT_EQ(job.Shared().display.LoadU32(abi::pov::kPercentField), 100u);
  EXPECT_FALSE(std::filesystem::exists(job.Folder()));

  image::Image picture;
  ASSERT_EQ(image::LoadImage(picture, kCapturedPicture), 1);
  const uint8_t* pixels = job.Shared().Pixels();
  for (const auto& [x, y] : {std::pair{0, 0}, {32, 24}, {63, 47}, {10, 40}}) {
    const auto expected = picture.Bgra(x, picture.StoredRowOfTopRow(y));
    const uint8_t* got = pixels + (static_cast<size_t>(47 - y) * 64 + static_cast<size_t>(x)) * 4;
    EXPECT_EQ(std::vector<uint8_t>(got, got + 4), std::vector<uint8_t>(expected.begin(), expected.end()))
        << x << "," << y;
  }
}

TEST(PovBridgeTest, APictureLargerThanTheJobIsClippedToTheJobsBytes) {
  BridgeJob job(32, 24);
  uint8_t* pixels = job.Shared().Pixels();
  const size_t jobBytes = 32 * 24 * 4;
  std::fill(pixels + jobBytes, pixels + jobBytes + 64 * 48 * 4, uint8_t{0xAB});
  EXPECT_EQ(job.Run(job.FakePovRay("cp '" + kCapturedPicture + "' \"$out\"")), 0);
  EXPECT_EQ(job.Code(), 3u);
  EXPECT_TRUE(
      std::all_of(pixels + jobBytes, pixels + jobBytes + 64 * 48 * 4, [](uint8_t b) { return b == 0xAB; }));
}

TEST(PovBridgeTest, AFailedRenderOrABadPictureAbortsWithTwoAndTheReason) {
  {
    BridgeJob job(64, 48);
    const std::string povray = job.FakePovRay(
        "echo \"File 'scene.pov' line 1: Parse Error: No matching } in 'pigment'\" >&2\n"
        "echo 'Render failed' >&2\nexit 1");
    EXPECT_EQ(job.Run(povray), 1);
    EXPECT_EQ(job.Code(), 2u);
    EXPECT_NE(job.Reason().find("POV-Ray failed (exit 1)"), std::string::npos) << job.Reason();
    EXPECT_NE(job.Reason().find("Parse Error: No matching }"), std::string::npos) << job.Reason();
    EXPECT_EQ(job.Shared().display.LoadU32(abi::pov::kPictureDueField), abi::pov::kPictureDue);
  }
  {
    BridgeJob job(64, 48);
    EXPECT_EQ(job.Run(job.FakePovRay("echo 'not a picture' > \"$out\"")), 1);
    EXPECT_EQ(job.Code(), 2u);
    EXPECT_NE(job.Reason().find("POV-Ray's picture cannot be read"), std::string::npos) << job.Reason();
  }
  {
    BridgeJob job(5000, 5000);  // more than the display block holds
    EXPECT_EQ(job.Run(job.FakePovRay("exit 0")), 1);
    EXPECT_EQ(job.Code(), 2u);
    EXPECT_NE(job.Reason().find("does not fit"), std::string::npos) << job.Reason();
  }
}

TEST(PovBridgeTest, ClosingTheRenderWindowStopsPovRayAndLeavesNoProcess) {
  BridgeJob job(64, 48);
  const auto [bridge, povray] = job.StartHangingPovRay();
  ASSERT_GT(povray, 0);
  job.Shared().control.StoreU32(abi::pov::kWindowField,
                                platform::kNoWindow);  // what the window thread does at its end
  EXPECT_EQ(platform::WaitForExit(bridge), 1);
  EXPECT_NE(::kill(povray, 0), 0) << "POV-Ray is still running";
  EXPECT_FALSE(std::filesystem::exists(job.Folder()));
}

TEST(PovBridgeTest, AnInterruptedBridgeStopsPovRayAndTellsTheWindow) {
  BridgeJob job(64, 48);
  const auto [bridge, povray] = job.StartHangingPovRay();
  ASSERT_GT(povray, 0);
  ::kill(bridge, SIGINT);
  job.Window().loop.Run();
  EXPECT_EQ(platform::WaitForExit(bridge), 1);
  EXPECT_EQ(job.Code(), 2u);
  EXPECT_NE(job.Reason().find("interrupted"), std::string::npos) << job.Reason();
  EXPECT_NE(::kill(povray, 0), 0) << "POV-Ray is still running";
  EXPECT_FALSE(std::filesystem::exists(job.Folder()));
}

TEST(PovBridgeTest, RendersWithRealPovRay) {
  const std::string povray = platform::FindProgram("povray");
  if (povray.empty()) GTEST_SKIP() << "povray is not installed";
  BridgeJob job(64, 48);
  std::filesystem::copy_file(kTestData + "/povray-sphere.pov", job.Scratch() / "scene.pov");
  EXPECT_EQ(job.Run(povray), 0);
  ASSERT_EQ(job.Code(), 3u);
  EXPECT_EQ(job.Shared().display.LoadU32(abi::pov::kPercentField), 100u);
  // The sphere is red in the middle, and the corners are black background.
  const uint8_t* pixels = job.Shared().Pixels();
  const uint8_t* middle = pixels + (24 * 64 + 32) * 4;
  EXPECT_GT(middle[2], 100);
  EXPECT_LT(middle[1], middle[2] / 2);
  EXPECT_EQ(pixels[0] + pixels[1] + pixels[2], 0);
}

}  // namespace
}  // namespace lumetra::povbridge
