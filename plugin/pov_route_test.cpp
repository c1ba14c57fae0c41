#include "plugin/pov_route.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "abi/result_codes.h"
#include "platform/message_loop.h"
#include "platform/shared_memory.h"
#include "platform/testing/child_process.h"
#include "platform/testing/copy_data_receiver.h"
#include "platform/testing/recording_messages.h"
#include "platform/window_directory.h"
#include "render/job_list.h"
#include "render/library_backend.h"
#include "render/make_job.h"
#include "render/window_thread.h"

namespace lumetra::plugin {
namespace {

using namespace std::chrono_literals;

constexpr int32_t kSide = 8;
constexpr uint8_t kPovPixel = 0x5A;

std::atomic<int> g_povRayCalls{0};

int32_t LUMETRA_STDCALL StartPovRay(int32_t) {
  ++g_povRayCalls;
  return abi::kOk;
}

// POV-Ray's side in a process of its own, forked before this process starts threads: it
// sends the codes it is given to the window it is given, and before code 3 puts the
// picture into the display block, as the extension does.
class Extension {
 public:
  Extension() {
    // The tests of this program run side by side; each takes blocks of its own.
    ::setenv("LUMETRA_SHM_NAMESPACE", ("route" + std::to_string(::getpid())).c_str(), 1);
    EXPECT_EQ(::pipe(orders_), 0);
    pid_ = platform::StartChild([in = orders_[0], out = orders_[1]] {
      ::close(out);
      uint32_t order[2];
      while (::read(in, order, sizeof order) == sizeof order) {
        if (order[1] == abi::pov::kRenderEnded) PutPicture();
        if (!platform::window_directory::SendCopyData(order[0], platform::kNoWindow, 0,
                                                      platform::Code(order[1]))) {
          return 1;
        }
      }
      return 0;
    });
    ::close(orders_[0]);
  }
  ~Extension() {
    ::close(orders_[1]);
    EXPECT_EQ(platform::WaitForChild(pid_), 0);
  }

  void Send(platform::WindowId window, uint32_t code) {
    const uint32_t order[2] = {window, code};
    EXPECT_EQ(::write(orders_[1], order, sizeof order), static_cast<ssize_t>(sizeof order));
  }

 private:
  static void PutPicture() {
    std::error_code error;
    const auto display =
        platform::SharedMemory::Create(abi::pov::kDisplayName, abi::pov::kDisplaySize, error);
    std::memset(static_cast<uint8_t*>(display.Data()) + abi::pov::kDisplayImageOffset, kPovPixel,
                kSide * kSide * 4);
  }

  int orders_[2] = {-1, -1};
  pid_t pid_ = -1;
};

// The plug-in's route for POV-Ray jobs behind a host whose POV-Ray call starts nothing.
class PovRouteBackend : public render::LibraryBackend {
 public:
  explicit PovRouteBackend(PovSharedBlocks& blocks) : blocks_(blocks) {
    host_.renderWithPovRay = StartPovRay;
  }
  uint8_t* SharedPixels(render::RenderJob&) override { return blocks_.DisplayPixels(); }
  void SetPovWindow(render::RenderJob&, platform::WindowId window) override { blocks_.SetPovWindow(window); }
  bool WriteOutput(render::RenderJob&) override {
    ++written;
    return true;
  }
  std::atomic<int> written{0};

 protected:
  void RenderOutside(render::RenderJob& job) override { RenderWithPovRay(job, &host_, blocks_); }

 private:
  PovSharedBlocks& blocks_;
  abi::SceneRecord host_{};
};

class PovRouteTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(blocks_.Create()); }

  // A POV-Ray job waiting for its picture: its window.
  platform::WindowId StartWaitingJob() {
    render::RenderSettings settings;
    settings.method = abi::kMethodPovRay;
    job_ = render::MakeJob(settings, {}, jobs_, [] { return 0u; });
    job_->width = job_->height = kSide;
    job_->outputPath = "pov";
    EXPECT_TRUE(PreparePovJob(*job_, blocks_));
    const int callsBefore = g_povRayCalls;
    job_->SetState(render::JobState::Processing);
    render::JobWindowThread::Start(std::make_unique<render::CRenderThread>(job_, jobs_, backend_));
    for (int i = 0; i < 500 && g_povRayCalls == callsBefore; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(job_->State(), render::JobState::Rendering);
    return blocks_.ControlField(abi::pov::kWindowField);
  }

  Extension extension_;  // first: forked before any thread
  platform::RecordingMessages messages_;
  PovSharedBlocks blocks_;
  render::JobList jobs_;
  PovRouteBackend backend_{blocks_};
  std::shared_ptr<render::RenderJob> job_;
};

TEST_F(PovRouteTest, CopyDataThreeFromAnotherProcessEndsTheWaitWithItsPicture) {
  const platform::WindowId window = StartWaitingJob();
  ASSERT_NE(window, platform::kNoWindow);
  EXPECT_EQ(blocks_.DisplayField(abi::pov::kPictureDueField), abi::pov::kPictureDue);
  extension_.Send(window, abi::pov::kRenderEnded);
  ASSERT_TRUE(job_->WaitForWindowThread(5000));
  EXPECT_EQ(backend_.written, 1);
  const auto pixel = job_->image.Pixel(3, 5);
  EXPECT_EQ(pixel[0], kPovPixel);
  EXPECT_EQ(pixel[2], kPovPixel);
  EXPECT_EQ(blocks_.ControlField(abi::pov::kWindowField), 0u);  // the window is gone from the block
  EXPECT_EQ(jobs_.Count(), 0u);
}

TEST_F(PovRouteTest, CopyDataTwoAbortsAndFiveChangesNothing) {
  const platform::WindowId window = StartWaitingJob();
  extension_.Send(window, 5);
  EXPECT_FALSE(job_->WaitForWindowThread(300));
  EXPECT_EQ(job_->State(), render::JobState::Rendering);
  EXPECT_FALSE(job_->Aborted());

  extension_.Send(window, abi::pov::kRenderFailed);
  ASSERT_TRUE(job_->WaitForWindowThread(5000));
  EXPECT_EQ(backend_.written, 0);
  EXPECT_EQ(blocks_.ControlField(abi::pov::kWindowField), 0u);
}

TEST_F(PovRouteTest, ASecondPovRayRenderIsRefusedWhileTheFirstWindowIsOpen) {
  const platform::WindowId window = StartWaitingJob();
  render::RenderSettings settings;
  settings.method = abi::kMethodPovRay;
  EXPECT_EQ(render::MakeJob(settings, {}, jobs_, [] { return 0u; }), nullptr);
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].text, "Only one POV-Ray render window\nmay be open at one time\n");
  EXPECT_EQ(blocks_.ControlField(abi::pov::kWindowField), window);  // the first job's still
  extension_.Send(window, abi::pov::kRenderEnded);
  ASSERT_TRUE(job_->WaitForWindowThread(5000));
}

TEST_F(PovRouteTest, TheBlocksAreTakenWhileAnotherProcessHasItsPovRayWindowOpen) {
  if (platform::kForkedChildrenCannotStartThreads) GTEST_SKIP() << "the other process's window has a thread";
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t other = platform::StartChild([&] {
    ::close(ready[0]);
    ::close(done[1]);
    platform::MessageLoop loop;
    const platform::WindowId window =
        loop.CreateWindow([](platform::MessageLoop&, const platform::Message&) { return false; });
    PovSharedBlocks blocks;
    if (!blocks.Create()) return 1;
    blocks.SetPovWindow(window);
    char byte = 1;
    if (::write(ready[1], &byte, 1) != 1) return 2;
    return ::read(done[0], &byte, 1) == 0 ? 0 : 3;  // until the parent lets go
  });
  ::close(ready[1]);
  ::close(done[0]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_TRUE(PovBlocksTakenElsewhere(blocks_));
  ::close(done[1]);
  EXPECT_EQ(platform::WaitForChild(other), 0);
  EXPECT_FALSE(PovBlocksTakenElsewhere(blocks_));  // its process is gone

  const platform::WindowId mine = StartWaitingJob();
  EXPECT_FALSE(PovBlocksTakenElsewhere(blocks_));
  extension_.Send(mine, abi::pov::kRenderEnded);
  ASSERT_TRUE(job_->WaitForWindowThread(5000));
}

TEST_F(PovRouteTest, AJobWhoseBlocksAnotherRenderTookIsAborted) {
  StartWaitingJob();
  blocks_.SetPovWindow(0x7FFF0001);  // what a job of another process does
  ASSERT_TRUE(job_->WaitForWindowThread(5000));
  EXPECT_EQ(backend_.written, 0);
}

TEST(PovRoute, AJobWithoutTheDisplayBlockCannotBePrepared) {
  PovSharedBlocks none;
  render::RenderJob job;
  EXPECT_FALSE(PreparePovJob(job, none));
}

}  // namespace
}  // namespace lumetra::plugin
