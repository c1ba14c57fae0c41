#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "abi/desktop_record.h"
#include "abi/preview_record.h"
#include "render/animation_settings.h"
#include "render/image_buffer.h"
#include "render/job_state.h"
#include "render/render_display.h"
#include "render/render_method.h"
#include "render/render_settings.h"

namespace lumetra::texture {
class ImageList;
}

namespace lumetra::render {

// Who renders a job.
enum class RendererKind : int32_t { PovRay = 0, Library = 1, Rib = 2 };

// The host's preview of a view, held by at most one job at a time.
struct HostPreview {
  // The host's own callbacks, in its calling convention.
  using PixelFn = abi::PreviewPutPixel;
  using RectFn = abi::PreviewChanged;
  bool on = false;
  int32_t view = -1;
  float aspect = 1.0f;
  PixelFn pixel = nullptr;
  RectFn rect = nullptr;
};

// One render, still or animated: the request, the render-library scene, the picture and
// the two threads working on it. Fields the threads share are atomics; the job list
// owns the job and its window thread ends it.
struct RenderJob {
  static constexpr size_t kMaxOutputPath = 511;

  std::atomic<int32_t> state{static_cast<int32_t>(JobState::Initializing)};
  uint32_t scene = 0;  // render-library scene, render-library jobs only
  int32_t width = 256;
  int32_t height = 256;
  int32_t bitsPerPixel = 32;
  std::atomic<int32_t> lastRow{-1};
  int32_t hostDisplay = 1;
  int32_t method = static_cast<int32_t>(RenderMethod::Raytracing);
  uint32_t shadingFlags = kUnsetShadingFlags;
  uint32_t view = 0;
  int32_t maxTracingDepth = 5;
  int32_t antiAliasDepth = 1;
  double antiAliasThreshold = 0.01;
  bool antiAlias = false;
  int32_t scanlineDepth = 1;
  std::string outputPath;
  ImageBuffer image;
  double createdAt = 0;  // seconds on the steady clock
  double renderStartedAt = 0;
  double renderEndedAt = 0;
  std::atomic<int32_t> abort{0};
  std::atomic<int32_t> terminate{0};
  RendererKind kind = RendererKind::Library;
  bool showWindow = false;
  int32_t maxWindowWidth = -1;
  int32_t maxWindowHeight = -1;
  uint32_t camera = 0;
  uint32_t lookAtObject = 0;
  uint32_t locationObject = 0;
  HostPreview preview;
  std::string ribRenderer;
  // Names filed with the render library, which keeps pointers to them: a deque never
  // moves its strings as it grows.
  std::deque<std::string> keptNames;
  // The images the scene's textures read, freed with the job (after the scene).
  std::shared_ptr<texture::ImageList> imageMaps;
  std::string sceneSettingsName;  // at most 63 characters
  float volumeStepSize = 1.0f;
  int32_t volumeMinSteps = 3;
  int32_t volumeMaxSteps = 50;
  bool animation = false;
  AnimationSettings animationSettings;
  int32_t frameIndex = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;

  RenderDisplay display;
  const abi::DesktopRecord* desktop = nullptr;  // where the render window shows, if anywhere
  RenderWindowMaker* windowMaker = nullptr;     // a real window for the display, if any
  uint32_t parentWindow = 0;                    // the host window that owns it
  std::atomic<int32_t> pixelsDone{0};           // pixels the renderer delivered this frame

  // The file name part of the output path (after the last backslash or slash).
  std::string DisplayName() const;
  bool Aborted() const { return abort.load() != 0; }
  JobState State() const { return static_cast<JobState>(state.load()); }
  void SetState(JobState s) { state.store(static_cast<int32_t>(s)); }

  // Thread bookkeeping of the window thread and the worker.
  std::thread worker;
  std::atomic<bool> workerRunning{false};
  std::atomic<bool> hasWindowThread{false};

  // The window thread's end, which aborting waits for.
  void MarkWindowThreadEnded();
  // True when the window thread ended within `milliseconds`.
  bool WaitForWindowThread(int milliseconds);

 private:
  std::mutex endedMutex_;
  std::condition_variable endedSignal_;
  bool windowThreadEnded_ = false;
};

// Seconds on a steady clock, for the job's progress times.
double NowSeconds();

}  // namespace lumetra::render
