// Render jobs: the picture, the library callbacks, making jobs and their threads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/debug_log.h"
#include "platform/message_loop.h"
#include "platform/testing/recording_messages.h"
#include "render/job_list.h"
#include "render/make_job.h"
#include "render/render_callbacks.h"
#include "render/window_thread.h"

namespace lumetra {
namespace {

using namespace lumetra::render;
using namespace std::chrono_literals;

// Blocks until `counter` reaches `count`; the counter's writer notifies every change.
void WaitUntilAtLeast(const std::atomic<int>& counter, int count) {
  for (int seen = counter.load(); seen < count; seen = counter.load()) counter.wait(seen);
}

std::unique_ptr<RenderJob> SmallJob(int32_t width, int32_t height) {
  auto job = std::make_unique<RenderJob>();
  job->width = width;
  job->height = height;
  job->image = ImageBuffer(width, height);
  return job;
}

TEST(JobState, NamesAsTheJobListShowsThem) {
  EXPECT_STREQ(JobStateName(0), "Initializing");
  EXPECT_STREQ(JobStateName(2), "Rendering");
  EXPECT_STREQ(JobStateName(5), "Zombie");
  EXPECT_STREQ(JobStateName(6), "Unknown");
  EXPECT_STREQ(JobStateName(-1), "Unknown");
}

TEST(ImageBuffer, RowsAreStoredBottomUpAsBlueGreenRedAlpha) {
  ImageBuffer image(3, 2);
  image.Put(0, 0, 10, 20, 30, 40);  // top left
  image.Put(2, 1, 1, 2, 3, 4);      // bottom right
  const auto bytes = image.Bytes();
  ASSERT_EQ(bytes.size(), 24u);
  // The top image row is the second stored row.
  EXPECT_EQ(bytes[12], 30);
  EXPECT_EQ(bytes[13], 20);
  EXPECT_EQ(bytes[14], 10);
  EXPECT_EQ(bytes[15], 40);
  EXPECT_EQ(bytes[8], 3);
  EXPECT_EQ(bytes[11], 4);
}

TEST(ImageBuffer, FillClearsAlphaAndMarksEverythingChanged) {
  ImageBuffer image(4, 3);
  image.Put(1, 1, 9, 9, 9, 9);
  image.Fill(255, 128, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      const auto p = image.Pixel(x, y);
      EXPECT_EQ(p[0], 0);
      EXPECT_EQ(p[1], 128);
      EXPECT_EQ(p[2], 255);
      EXPECT_EQ(p[3], 0);
    }
  }
  EXPECT_EQ(image.TakeChanged(), (PixelRect{0, 0, 4, 3}));
  EXPECT_TRUE(image.TakeChanged().Empty());
}

TEST(RenderCallbacks, PixelBytesAndBounds) {
  auto owned = SmallJob(4, 4);
  RenderJob& job = *owned;
  const float half[4] = {0.5f, 1.0f, 1.5f, -0.2f};
  EXPECT_EQ(PixelCallback(1, 2, half, &job), 0);
  const auto p = job.image.Pixel(1, 2);
  EXPECT_EQ(p[2], 127);  // red 0.5 truncates
  EXPECT_EQ(p[1], 255);
  EXPECT_EQ(p[0], 255);  // clamped
  EXPECT_EQ(p[3], 0);
  EXPECT_EQ(job.image.TakeChanged(), (PixelRect{1, 2, 2, 3}));
  PixelCallback(4, 0, half, &job);
  PixelCallback(0, -1, half, &job);
  EXPECT_TRUE(job.image.TakeChanged().Empty());
  job.abort = 1;
  EXPECT_EQ(PixelCallback(0, 0, half, &job), 1);
  EXPECT_EQ(AbortCallback(&job), 1);
}

// What the host's preview window was handed.
struct PreviewLog {
  std::vector<std::array<int32_t, 7>> pixels;
  std::vector<std::array<int32_t, 5>> rects;
};
PreviewLog g_preview;

void LUMETRA_STDCALL PreviewPixel(int32_t view, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b,
                                  uint8_t a) {
  g_preview.pixels.push_back({view, x, y, r, g, b, a});
}
void LUMETRA_STDCALL PreviewRect(int32_t view, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  g_preview.rects.push_back({view, left, top, right, bottom});
}

TEST(RenderCallbacks, AJobHoldingTheHostPreviewHandsItEveryPixelAndChange) {
  g_preview = {};
  auto owned = SmallJob(4, 4);
  RenderJob& job = *owned;
  job.preview = {true, 2, 1.0f, PreviewPixel, PreviewRect};
  const float colour[4] = {1.0f, 0.5f, 0.0f, 1.0f};
  PixelCallback(3, 1, colour, &job);
  PixelCallback(4, 1, colour, &job);  // outside: neither the picture nor the preview
  LineCallback(0, 3, 1, 3, colour, &job);
  EXPECT_EQ(g_preview.pixels,
            (std::vector<std::array<int32_t, 7>>{
                {2, 3, 1, 255, 127, 0, 255}, {2, 0, 3, 255, 128, 0, 255}, {2, 1, 3, 255, 128, 0, 255}}));
  job.display.Flush(job);
  EXPECT_EQ(g_preview.rects, (std::vector<std::array<int32_t, 5>>{{2, 0, 1, 4, 4}}));
  job.display.Flush(job);  // nothing changed since
  EXPECT_EQ(g_preview.rects.size(), 1u);

  job.preview.on = false;
  PixelCallback(0, 0, colour, &job);
  job.display.Flush(job);
  EXPECT_EQ(g_preview.pixels.size(), 3u);
  EXPECT_EQ(g_preview.rects.size(), 1u);
}

TEST(RenderDisplay, WindowLimitsAreThePictureWithFrameCaptionAndStatusBarWithinTheScreen) {
  platform::MessageLoop loop;
  RenderJob job;
  job.width = 320;
  job.height = 240;
  ASSERT_TRUE(job.display.Open(job, loop));
  EXPECT_EQ(job.maxWindowWidth, 320 + 2 * 4);
  EXPECT_EQ(job.maxWindowHeight, 240 + 2 * 4 + 20 + 20);
  EXPECT_EQ(job.display.Title(), "Render: ");
  job.display.Close();

  RenderJob wide;
  wide.width = 6000;
  wide.height = 10;
  ASSERT_TRUE(wide.display.Open(wide, loop));
  EXPECT_EQ(wide.maxWindowWidth, 4096);
  EXPECT_EQ(wide.maxWindowHeight, 10 + 2 * 4 + 20 + 20);
  wide.display.Close();
}

TEST(RenderDisplay, APictureThatCannotBeHadOpensNoDisplay) {
  platform::MessageLoop loop;
  // The largest is refused by its size, before any allocation is tried.
  for (const auto& [width, height] : {std::pair{0, 10}, {10, -1}, {1 << 30, 1 << 30}, {16385, 16384}}) {
    platform::DebugLog::Clear();
    RenderJob job;
    job.width = width;
    job.height = height;
    EXPECT_FALSE(job.display.Open(job, loop)) << width << "x" << height;
    EXPECT_FALSE(job.display.Ready());
    EXPECT_FALSE(job.image.Valid());
    EXPECT_EQ(platform::DebugLog::Lines(), (std::vector<std::string>{"no display 2\n"}));
  }
}

TEST(RenderCallbacks, LineBytesDifferFromPixelBytes) {
  EXPECT_EQ(LineByte(0.5f), 128);
  EXPECT_EQ(PixelByte(0.5f), 127);
  EXPECT_EQ(LineByte(1.0f), 255);
  EXPECT_EQ(PixelByte(1.0f), 255);
  EXPECT_EQ(LineByte(0.0f), 0);
  EXPECT_EQ(LineByte(-1.0f), 0);
  EXPECT_EQ(LineByte(std::nanf("")), 0);
}

// Every column of a shallow line (every row of a steep one) gets exactly one pixel, at
// most half a pixel from the ideal line, and both end points are drawn.
void ExpectBresenhamLine(int x0, int y0, int x1, int y1) {
  auto owned = SmallJob(40, 40);
  RenderJob& job = *owned;
  job.image.Fill(0, 0, 0);
  job.image.TakeChanged();
  const float white[4] = {1, 1, 1, 1};
  LineCallback(x0, y0, x1, y1, white, &job);
  std::map<int, std::vector<int>> byMajor;
  const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
  int count = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (job.image.Pixel(x, y)[2] != 255) continue;
      ++count;
      byMajor[steep ? y : x].push_back(steep ? x : y);
    }
  }
  const int length = steep ? std::abs(y1 - y0) : std::abs(x1 - x0);
  EXPECT_EQ(count, length + 1);
  for (const auto& [major, minors] : byMajor) {
    ASSERT_EQ(minors.size(), 1u) << "major " << major;
    const double t = length == 0 ? 0.0
                                 : static_cast<double>(major - (steep ? y0 : x0)) /
                                       ((steep ? y1 : x1) - (steep ? y0 : x0));
    const double ideal = (steep ? x0 : y0) + t * ((steep ? x1 : y1) - (steep ? x0 : y0));
    EXPECT_LE(std::abs(minors[0] - ideal), 0.5) << major;
  }
  EXPECT_EQ(job.image.Pixel(x0, y0)[2], 255);
  EXPECT_EQ(job.image.Pixel(x1, y1)[2], 255);
  EXPECT_EQ(job.image.TakeChanged(),
            (PixelRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1}));
}

TEST(RenderCallbacks, LinesFollowBresenham) {
  ExpectBresenhamLine(0, 0, 4, 2);
  ExpectBresenhamLine(30, 5, 2, 17);
  ExpectBresenhamLine(7, 39, 9, 0);
  ExpectBresenhamLine(5, 5, 5, 5);
  ExpectBresenhamLine(0, 20, 39, 20);
}

TEST(RenderCallbacks, LinePixelsOutsideTheImageAreSkipped) {
  auto owned = SmallJob(10, 10);
  RenderJob& job = *owned;
  const float white[4] = {1, 1, 1, 1};
  LineCallback(-20, 5, 30, 5, white, &job);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(job.image.Pixel(x, 5)[0], 255) << x;
  EXPECT_EQ(job.image.TakeChanged(), (PixelRect{0, 5, 10, 6}));
  LineCallback(-5, -5, -1, -9, white, &job);
  EXPECT_TRUE(job.image.TakeChanged().Empty());
}

TEST(MakeJob, TakesTheSettingsOfTheChosenMethod) {
  JobList jobs;
  RenderSettings settings;
  settings.method = static_cast<int32_t>(RenderMethod::Scanline);
  settings.shadingFlags[3] = 0x422;
  settings.scanlineDepth = 7;
  settings.volumeMaxSteps = 99;
  AnimationSettings animation;
  animation.quality = 42;
  auto job = MakeJob(settings, animation, jobs, [] { return 17u; });
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(jobs.Count(), 1u);
  EXPECT_EQ(job->kind, RendererKind::Library);
  EXPECT_EQ(job->scene, 17u);
  EXPECT_EQ(job->shadingFlags, 0x422u);
  EXPECT_EQ(job->scanlineDepth, 7);
  EXPECT_EQ(job->volumeMaxSteps, 99);
  EXPECT_EQ(job->animationSettings.quality, 42);
  EXPECT_EQ(job->State(), JobState::Initializing);

  settings.method = static_cast<int32_t>(RenderMethod::Rib);
  settings.ribRenderer = "aqsis";
  auto rib = MakeJob(settings, animation, jobs, [] { return 99u; });
  EXPECT_EQ(rib->kind, RendererKind::Rib);
  EXPECT_EQ(rib->scene, 0u);  // no library scene for outside renderers
  EXPECT_EQ(rib->ribRenderer, "aqsis");
}

TEST(MakeJob, OnlyOnePovRayJobAtATime) {
  platform::RecordingMessages messages;
  JobList jobs;
  RenderSettings settings;
  settings.method = static_cast<int32_t>(RenderMethod::PovRay);
  auto first = MakeJob(settings, {}, jobs, [] { return 0u; });
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->kind, RendererKind::PovRay);
  EXPECT_EQ(MakeJob(settings, {}, jobs, [] { return 0u; }), nullptr);
  EXPECT_EQ(jobs.Count(), 1u);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.Calls()[0].text, "Only one POV-Ray render window\nmay be open at one time\n");
  EXPECT_EQ(messages.Calls()[0].icon, platform::MessageIcon::Stop);
  jobs.Remove(first.get());
  EXPECT_NE(MakeJob(settings, {}, jobs, [] { return 0u; }), nullptr);
}

// A renderer that draws a gradient pixel by pixel, or waits for the job to be aborted.
// `rendered` and `written` are notified, so tests wait for them instead of polling.
class ScriptedBackend : public JobBackend {
 public:
  bool waitForAbort = false;
  bool fail = false;
  std::atomic<int> prepared{0}, rendered{0}, written{0}, freed{0}, previewsReleased{0};

  void PrepareFrame(RenderJob& job) override {
    ++prepared;
    job.image.Fill(0, 0, 64);
  }
  bool Render(RenderJob& job) override {
    job.SetState(JobState::Rendering);
    ++rendered;
    rendered.notify_all();
    if (fail) throw std::runtime_error("renderer fell over");
    for (int y = 0; y < job.height && !job.Aborted(); ++y) {
      for (int x = 0; x < job.width; ++x) {
        const float colour[4] = {x / 8.0f, y / 8.0f, 0, 1};
        if (PixelCallback(x, y, colour, &job)) break;
      }
    }
    // As the render library does: the abort flag is polled, nobody signals it.
    while (waitForAbort && !AbortCallback(&job)) std::this_thread::sleep_for(1ms);
    job.SetState(JobState::Complete);
    return !job.Aborted();
  }
  bool WriteOutput(RenderJob&) override {
    ++written;
    written.notify_all();
    return true;
  }
  void FreeScene(RenderJob& job) override {
    ++freed;
    job.scene = 0;
  }
  void ReleasePreview(RenderJob&) override { ++previewsReleased; }
};

class JobThreadTest : public ::testing::Test {
 protected:
  std::shared_ptr<RenderJob> Start(bool showWindow) {
    RenderSettings settings;
    auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
    job->width = 8;
    job->height = 8;
    job->showWindow = showWindow;
    job->outputPath = "renders\\still";
    job->SetState(JobState::Processing);
    JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs_, backend_));
    return job;
  }

  platform::RecordingMessages messages_;
  JobList jobs_;
  ScriptedBackend backend_;
};

TEST_F(JobThreadTest, StillRenderWritesItsFileAndLeavesTheList) {
  auto job = Start(false);
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_EQ(jobs_.Count(), 0u);
  EXPECT_EQ(backend_.prepared, 1);
  EXPECT_EQ(backend_.written, 1);
  EXPECT_EQ(backend_.freed, 1);
  EXPECT_EQ(job->scene, 0u);
  EXPECT_EQ(job->State(), JobState::Terminating);
  EXPECT_EQ(job->display.Title(), "still");
  const auto p = job->image.Pixel(4, 2);
  EXPECT_EQ(p[2], 127);  // red 4/8
  EXPECT_EQ(p[1], 63);   // green 2/8
  EXPECT_EQ(messages_.Count(), 0u);
}

// What a host's desktop saw of the render windows.
struct DesktopLog {
  std::mutex mutex;
  std::vector<std::string> events;
  int32_t lastDone = 0, lastTotal = 0;
  void Add(std::string event) {
    std::lock_guard lock(mutex);
    events.push_back(std::move(event));
  }
  void Clear() {
    std::lock_guard lock(mutex);
    events.clear();
    lastDone = lastTotal = 0;
  }
};
DesktopLog g_desktop;

abi::CloseWindowProc g_close = nullptr;
uint32_t g_window = 0;

void LUMETRA_STDCALL DesktopOpened(uint32_t window, const char* title, int32_t width, int32_t height,
                                   abi::CloseWindowProc close) {
  g_close = close;
  g_window = window;
  g_desktop.Add("opened " + std::string(title) + " " + std::to_string(width) + "x" + std::to_string(height));
}
void LUMETRA_STDCALL DesktopTitle(uint32_t, const char* title) {
  g_desktop.Add("title " + std::string(title));
}
void LUMETRA_STDCALL DesktopStatus(uint32_t, int32_t part, const char* text) {
  g_desktop.Add("status " + std::to_string(part) + " " + text);
}
void LUMETRA_STDCALL DesktopPainted(uint32_t, int32_t, int32_t, int32_t, int32_t, const uint8_t* pixels,
                                    int32_t done, int32_t total) {
  std::lock_guard lock(g_desktop.mutex);
  EXPECT_NE(pixels, nullptr);
  g_desktop.lastDone = done;
  g_desktop.lastTotal = total;
}
// The jobs a test lists, so that a closing window can say how many were still listed.
const JobList* g_listedJobs = nullptr;
void LUMETRA_STDCALL DesktopClosed(uint32_t) {
  g_desktop.Add(g_listedJobs ? "closed, " + std::to_string(g_listedJobs->Count()) + " listed" : "closed");
}

abi::DesktopRecord RecordingDesktop() {
  return {sizeof(abi::DesktopRecord),
          abi::kDesktopRecordVersion,
          DesktopOpened,
          DesktopTitle,
          DesktopStatus,
          DesktopPainted,
          DesktopClosed,
          nullptr};
}

TEST_F(JobThreadTest, TheDesktopSeesTheWindowFromOpeningToClosing) {
  g_desktop.Clear();
  const abi::DesktopRecord desktop = RecordingDesktop();
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
  job->width = 8;
  job->height = 8;
  job->outputPath = "renders\\desk";
  job->desktop = &desktop;
  job->SetState(JobState::Processing);
  g_listedJobs = &jobs_;
  JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs_, backend_));
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  g_listedJobs = nullptr;
  std::lock_guard lock(g_desktop.mutex);
  ASSERT_EQ(g_desktop.events.size(), 3u);
  EXPECT_EQ(g_desktop.events[0], "opened Render: renders\\desk 8x8");
  EXPECT_EQ(g_desktop.events[1], "title desk");
  // A host that starts the next job when the window closes finds this one gone.
  EXPECT_EQ(g_desktop.events[2], "closed, 0 listed");
  EXPECT_EQ(g_desktop.lastDone, 64);
  EXPECT_EQ(g_desktop.lastTotal, 64);
}

TEST_F(JobThreadTest, TheDesktopClosesAWindowLikeItsCloseBox) {
  backend_.waitForAbort = true;
  const abi::DesktopRecord desktop = RecordingDesktop();
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
  job->desktop = &desktop;
  job->SetState(JobState::Processing);
  JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs_, backend_));
  WaitUntilAtLeast(backend_.rendered, 1);
  ASSERT_EQ(job->State(), JobState::Rendering);
  ASSERT_NE(g_close, nullptr);
  g_close(g_window + 1000);  // no such window: nothing happens
  EXPECT_FALSE(job->WaitForWindowThread(20));
  g_close(g_window);
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_EQ(backend_.written, 0);
  g_close(g_window);  // gone by now: still nothing happens
}

// A toolkit's window for the job: what it was told (from the job's threads), and a way to
// close it as its user would.
struct RecordingWindowMaker : RenderWindowMaker {
  struct View : RenderWindowView {
    explicit View(RecordingWindowMaker& maker) : maker(maker) {}
    ~View() override { maker.destroyed = true; }
    void Show() override { maker.shown = true; }
    void SetTitle(const std::string& title) override {
      std::lock_guard lock(maker.mutex);
      maker.title = title;
    }
    void SetStatus(int32_t part, const std::string& text) override {
      std::lock_guard lock(maker.mutex);
      if (part == 0) maker.firstStatus = text;
    }
    void Paint(const PixelRect&, const uint8_t* pixels, int32_t width, int32_t height) override {
      std::lock_guard lock(maker.mutex);
      // Rows are stored bottom-up: the last stored pixel is the top right one.
      maker.topRightRed = pixels[(width * height - 1) * 4 + 2];
    }
    RecordingWindowMaker& maker;
  };
  std::unique_ptr<RenderWindowView> MakeRenderWindow(uint32_t parent, const std::string& madeTitle, int32_t w,
                                                     int32_t h, std::function<void()> onClose) override {
    std::lock_guard lock(mutex);
    parentWindow = parent;
    openingTitle = madeTitle;
    width = w;
    height = h;
    close = std::move(onClose);
    return std::make_unique<View>(*this);
  }
  int32_t TopRightRed() {
    std::lock_guard lock(mutex);
    return topRightRed;
  }
  std::mutex mutex;
  uint32_t parentWindow = 0;
  std::string openingTitle, title, firstStatus;
  int32_t width = 0, height = 0, topRightRed = -1;
  std::function<void()> close;
  std::atomic<bool> shown{false};
  std::atomic<bool> destroyed{false};
};

TEST_F(JobThreadTest, AToolkitWindowShowsTheRenderAndClosingItAbortsTheJob) {
  backend_.waitForAbort = true;
  RecordingWindowMaker maker;
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
  job->width = 6;
  job->height = 4;
  job->outputPath = "renders/tk";
  job->windowMaker = &maker;
  job->parentWindow = 77;
  job->showWindow = true;
  job->SetState(JobState::Processing);
  JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs_, backend_));
  WaitUntilAtLeast(backend_.rendered, 1);
  std::function<void()> close;
  {
    std::lock_guard lock(maker.mutex);
    ASSERT_TRUE(maker.close) << "the window is made before the render begins";
    close = maker.close;
    EXPECT_EQ(maker.parentWindow, 77u);
    EXPECT_EQ(maker.openingTitle, "Render: renders/tk");
    EXPECT_EQ(maker.title, "tk") << "the title names the picture once the render runs";
    EXPECT_EQ(maker.width, 6);
    EXPECT_EQ(maker.height, 4);
  }
  job->display.SetStatus(0, "0:01");
  // The worker's pixels reach the window on the repaint timer: the top right one is
  // red 5/8 of full, as the renderer puts it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (maker.TopRightRed() != 159 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(maker.TopRightRed(), 159);
  EXPECT_TRUE(maker.shown) << "the job's settings ask for the window to be shown";
  {
    std::lock_guard lock(maker.mutex);
    EXPECT_EQ(maker.firstStatus, "0:01");
  }
  close();  // the user closes the window
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_TRUE(job->Aborted());
  EXPECT_EQ(backend_.written, 0) << "an aborted render writes no picture";
  EXPECT_TRUE(maker.destroyed) << "the window goes with the display";
}

TEST_F(JobThreadTest, ShownWindowStaysUntilClosedAndReportsTimes) {
  auto job = Start(true);
  WaitUntilAtLeast(backend_.written, 1);
  EXPECT_FALSE(job->WaitForWindowThread(50));
  EXPECT_EQ(jobs_.Count(), 1u);
  // Whole seconds from the job to the render and of the render, set before the picture is written.
  EXPECT_THAT(job->display.Status(1), ::testing::MatchesRegex("[0-9]+, [0-9]+"));
  ASSERT_TRUE(job->display.PostClose());
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_EQ(jobs_.Count(), 0u);
}

TEST_F(JobThreadTest, ClosingTheWindowWhileRenderingEndsTheJobWithoutAFile) {
  backend_.waitForAbort = true;
  auto job = Start(true);
  WaitUntilAtLeast(backend_.rendered, 1);
  ASSERT_EQ(job->State(), JobState::Rendering);
  ASSERT_TRUE(job->display.PostClose());
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_EQ(job->State(), JobState::Terminating);
  EXPECT_EQ(job->terminate.load(), 1);
  EXPECT_EQ(backend_.written, 0);
  EXPECT_EQ(backend_.freed, 1);
  EXPECT_EQ(jobs_.Count(), 0u);
}

TEST_F(JobThreadTest, AbortFromTheListAndAbortAll) {
  backend_.waitForAbort = true;
  auto first = Start(true);
  auto second = Start(true);
  WaitUntilAtLeast(backend_.rendered, 2);
  // A window thread opens its display before it starts the worker.
  ASSERT_TRUE(first->display.Ready());
  ASSERT_TRUE(second->display.Ready());
  jobs_.Abort(first);
  EXPECT_TRUE(first->WaitForWindowThread(0));
  EXPECT_EQ(jobs_.Count(), 1u);
  jobs_.AbortAll();
  EXPECT_TRUE(second->WaitForWindowThread(0));
  EXPECT_EQ(jobs_.Count(), 0u);
  EXPECT_EQ(backend_.written, 0);
  EXPECT_EQ(messages_.Count(), 0u);
}

// A still's window thread that counts how many of its kind have run to their very end.
class CountedRenderThread : public CRenderThread {
 public:
  using CRenderThread::CRenderThread;
  ~CountedRenderThread() override { ++finished; }
  static inline std::atomic<int> finished{0};
};

TEST_F(JobThreadTest, JoiningWaitsForAWindowThreadThatIsWindingDown) {
  backend_.waitForAbort = true;
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
  job->showWindow = true;
  job->SetState(JobState::Processing);
  const int before = CountedRenderThread::finished;
  JobWindowThread::Start(std::make_unique<CountedRenderThread>(job, jobs_, backend_));
  WaitUntilAtLeast(backend_.rendered, 1);
  JobWindowThread::JoinEnded();  // a running thread is left alone
  EXPECT_EQ(CountedRenderThread::finished, before);
  // The window closes, and the module unloads as soon as it has: the join waits until the
  // thread has run its last line, so none of the module's code runs after the unload.
  ASSERT_TRUE(job->display.PostClose());
  JobWindowThread::JoinEnded(10000);
  EXPECT_EQ(CountedRenderThread::finished, before + 1);
  EXPECT_EQ(jobs_.Count(), 0u);
}

TEST_F(JobThreadTest, AJobWhoseDisplayCannotOpenSaysSoAndNeverRenders) {
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 5u; });
  job->width = 0;
  job->SetState(JobState::Processing);
  JobWindowThread::Start(std::make_unique<CRenderThread>(job, jobs_, backend_));
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].caption, "Error");
  EXPECT_EQ(messages_.Calls()[0].text, "Failed to create render job");
  EXPECT_EQ(backend_.prepared, 0);
  EXPECT_EQ(backend_.rendered, 0);
  EXPECT_EQ(backend_.written, 0);
  EXPECT_EQ(backend_.freed, 1);  // the scene translated for it goes too, and the preview
  EXPECT_EQ(backend_.previewsReleased, 1);
  EXPECT_EQ(job->scene, 0u);
  EXPECT_EQ(jobs_.Count(), 0u);
}

TEST_F(JobThreadTest, AJobWithoutWindowThreadCannotBeAborted) {
  RenderSettings settings;
  auto job = MakeJob(settings, {}, jobs_, [] { return 1u; });
  job->outputPath = "C:\\renders\\idle.tga";
  jobs_.Abort(job);
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].text, "Can't abort: 'idle.tga'");
}

TEST_F(JobThreadTest, AFailedWorkerLeavesAZombieThatStaysListed) {
  backend_.fail = true;
  auto job = Start(false);
  ASSERT_TRUE(job->WaitForWindowThread(10000));
  EXPECT_EQ(job->State(), JobState::Zombie);
  EXPECT_EQ(jobs_.Count(), 1u);
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.Calls()[0].caption, "Internal Error");
  EXPECT_EQ(messages_.Calls()[0].text, "Failed to terminate render thread");
  jobs_.Abort(job);
  EXPECT_EQ(messages_.Calls().back().text, "Can't abort: 'still'");
}

}  // namespace
}  // namespace lumetra
