// Jobs rendered by the render library itself.
#include "render/library_backend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lumetra2.h"
#include "platform/debug_log.h"
#include "platform/testing/scratch_directory.h"
#include "render/image_buffer.h"
#include "render/job_list.h"
#include "render/make_job.h"
#include "render/render_job.h"
#include "render/window_thread.h"

namespace lumetra {
namespace {

using namespace lumetra::render;

// A red sphere lit from the viewer's side, seen against a blue background.
class LibraryBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    job_.scene = NewScene();
    ASSERT_NE(job_.scene, 0u);
    job_.width = 32;
    job_.height = 24;
    job_.image = ImageBuffer(job_.width, job_.height);
    job_.maxTracingDepth = 3;
    SetBackgroundColor(job_.scene, 0.0, 0.0, 1.0);
    const L2Primitive sphere = CreateSphere(job_.scene, 0, 0, 0, 1);
    ASSERT_NE(sphere, 0u);
    SetPrimTexture(job_.scene, sphere, CreateMatteTexture(job_.scene, 1, 0, 0));
    const L2Light light = CreateLight(job_.scene);
    SetLightLocation(job_.scene, light, 0, 0, -10);
    SetLightColor(job_.scene, light, 1, 1, 1);
    job_.view = CreateView(job_.scene);
    SetViewLocation(job_.scene, job_.view, 0, 0, -5);
    SetViewInterest(job_.scene, job_.view, 0, 0, 0);
    SetViewUp(job_.scene, job_.view, 0, 1, 0);
    SetViewAngle(job_.scene, job_.view, 45);
    job_.SetState(JobState::Processing);
  }
  void TearDown() override { backend_.FreeScene(job_); }

  RenderJob job_;
  LibraryBackend backend_;
};

TEST_F(LibraryBackendTest, PrepareFrameClearsToTheBackground) {
  backend_.PrepareFrame(job_);
  const auto corner = job_.image.Pixel(0, 0);
  EXPECT_EQ(corner[0], 255);  // blue
  EXPECT_EQ(corner[2], 0);
  EXPECT_EQ(job_.image.TakeChanged(), (PixelRect{0, 0, 32, 24}));
}

TEST_F(LibraryBackendTest, TracingPaintsTheSphereInTheMiddle) {
  for (int32_t depth : {0, 2}) {
    job_.method = static_cast<int32_t>(RenderMethod::Raytracing);
    job_.antiAliasDepth = depth;
    job_.SetState(JobState::Processing);
    backend_.PrepareFrame(job_);
    ASSERT_TRUE(backend_.Render(job_)) << depth;
    EXPECT_EQ(job_.State(), JobState::Complete);
    const auto middle = job_.image.Pixel(16, 12);
    EXPECT_GT(middle[2], 100) << "red sphere, depth " << depth;
    EXPECT_EQ(middle[0], 0);
    const auto corner = job_.image.Pixel(0, 0);
    EXPECT_EQ(corner[0], 255) << "blue background, depth " << depth;
  }
}

TEST_F(LibraryBackendTest, DepthsOutsideTheLibrarysRangeAreClampedAndSaidSo) {
  const auto render = [&](RenderMethod method) {
    job_.method = static_cast<int32_t>(method);
    job_.SetState(JobState::Processing);
    backend_.PrepareFrame(job_);
    EXPECT_TRUE(backend_.Render(job_));
    const auto bytes = job_.image.Bytes();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  };
  platform::DebugLog::Clear();
  job_.scanlineDepth = 0;  // the registry's default
  render(RenderMethod::Scanline);
  job_.antiAliasDepth = 12;
  const auto clamped = render(RenderMethod::Raytracing);
  EXPECT_EQ(platform::DebugLog::Lines(),
            (std::vector<std::string>{"Scan-line depth 0 is out of range: 1 used\n",
                                      "Anti-alias depth 12 is out of range: 8 used\n"}));
  job_.antiAliasDepth = 8;
  EXPECT_EQ(render(RenderMethod::Raytracing), clamped);
}

TEST_F(LibraryBackendTest, AbortedJobStopsAndReportsIt) {
  job_.abort = 1;
  EXPECT_FALSE(backend_.Render(job_));
  EXPECT_EQ(job_.State(), JobState::Complete);
}

TEST_F(LibraryBackendTest, OutsideRenderersAreRefusedWithoutAPicture) {
  job_.kind = RendererKind::Rib;
  job_.method = static_cast<int32_t>(RenderMethod::Rib);
  platform::DebugLog::Clear();
  EXPECT_FALSE(backend_.Render(job_));
  ASSERT_FALSE(platform::DebugLog::Lines().empty());
  EXPECT_EQ(platform::DebugLog::Lines().back(), "The \"RIB\" method is not available in this build\n");
}

TEST_F(LibraryBackendTest, WritesTheOutputChoiceBesideTheGivenBase) {
  platform::ScratchDirectory dir;
  backend_.PrepareFrame(job_);
  ASSERT_TRUE(backend_.Render(job_));
  job_.outputPath = (dir / "still").string();
  job_.animationSettings.fileOutput = 4;  // PPM
  ASSERT_TRUE(backend_.WriteOutput(job_));
  std::ifstream ppm(dir / "still.ppm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0;
  ppm >> magic >> width >> height;
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 24);
  job_.outputPath = (dir / "missing" / "still").string();
  EXPECT_FALSE(backend_.WriteOutput(job_));
}

}  // namespace

namespace {

// Counts the threads of this process that carry `name`.
size_t ThreadsNamed(const std::string& name) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    std::string comm;
    std::getline(std::ifstream(entry.path() / "comm"), comm);
    count += comm == name;
  }
  return count;
}

// Starting a large render and aborting it at once, many times over, leaves no file, no job
// and no thread behind.
// Starts the render library's thread pool from the calling thread, whose name its threads
// then carry instead of a job thread's.
void StartRenderPool() {
  const L2Scene scene = NewScene();
  const L2View view = CreateView(scene);
  ASSERT_EQ(SetViewResolution(scene, view, 64, 64), L2_OK);
  const auto ignore = [](int32_t, int32_t, const float*, void*) -> int32_t { return 0; };
  ASSERT_EQ(Tracer(scene, view, nullptr, 0, nullptr, ignore, nullptr), L2_OK);
  FreeScene(scene);
}

TEST(LibraryJobs, StartAbortCyclesLeaveNothingBehind) {
  platform::ScratchDirectory dir;
  LibraryBackend backend;
  JobList jobs;
  RenderSettings settings;
  StartRenderPool();
  for (int cycle = 0; cycle < 50; ++cycle) {
    auto job = MakeJob(settings, {}, jobs, [] { return NewScene(); });
    ASSERT_NE(job, nullptr);
    job->width = 1600;
    job->height = 1200;
    job->antiAliasDepth = 3;
    job->outputPath = (dir / ("cycle" + std::to_string(cycle))).string();
    const L2Primitive sphere = CreateSphere(job->scene, 0, 0, 0, 1);
    const L2Light light = CreateLight(job->scene);
    SetLightLocation(job->scene, light, 0, 5, -10);
    job->view = CreateView(job->scene);
    SetViewLocation(job->scene, job->view, 0, 0, -5);
    SetViewInterest(job->scene, job->view, 0, 0, 0);
    ASSERT_NE(sphere, 0u);
    job->SetState(JobState::Processing);
    JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs, backend));
    while (job->State() != JobState::Rendering && !job->WaitForWindowThread(1)) {}
    if (cycle == 0) {  // the big picture takes far longer than this look
      EXPECT_EQ(ThreadsNamed(kWindowThreadName), 1u);
      EXPECT_EQ(ThreadsNamed(kWorkerThreadName), 1u);
    }
    jobs.AbortAll();
    ASSERT_TRUE(job->WaitForWindowThread(10000)) << cycle;
    JobWindowThread::JoinEnded();
    EXPECT_EQ(jobs.Count(), 0u) << cycle;
    EXPECT_EQ(job->scene, 0u) << "the scene was freed";
  }
  // The render library's worker pool stays; no window or worker thread does.
  EXPECT_EQ(ThreadsNamed(kWindowThreadName), 0u);
  EXPECT_EQ(ThreadsNamed(kWorkerThreadName), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace lumetra
