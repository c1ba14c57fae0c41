#include "render/library_backend.h"

#include <algorithm>
#include <string>

#include "image/image_writer.h"
#include "lumetra2.h"
#include "platform/debug_log.h"
#include "render/render_callbacks.h"
#include "render/render_job.h"

namespace lumetra::render {
namespace {

// What the library takes: scan-line depths 1..256 and anti-alias depths 1..8.
constexpr int32_t kMaxScanlineDepth = 256;
constexpr int32_t kMaxAliasDepth = 8;

// A setting outside the library's range becomes the nearest value it takes, and says so.
int32_t WithinRange(const char* setting, int32_t value, int32_t lowest, int32_t highest) {
  const int32_t sound = std::clamp(value, lowest, highest);
  if (sound != value) platform::DebugLog::Printf("%s %d is out of range: %d used\n", setting, value, sound);
  return sound;
}

void Check(int32_t result, const char* entry) {
  if (result != L2_OK) platform::DebugLog::Printf("%s refused (%d)\n", entry, result);
}

uint8_t BackgroundByte(double value) {
  if (!(value > 0.0)) return 0;
  return value >= 1.0 ? 255 : static_cast<uint8_t>(value * 255.0);
}

}  // namespace

void LibraryBackend::PrepareFrame(RenderJob& job) {
  if (job.State() != JobState::Processing) return;
  job.pixelsDone = 0;
  double background[3] = {0, 0, 0};
  if (job.kind == RendererKind::Library) GetBackgroundColor(job.scene, background);
  job.image.Fill(BackgroundByte(background[0]), BackgroundByte(background[1]), BackgroundByte(background[2]));
  if (job.kind != RendererKind::Library) return;
  if (job.view == 0) job.view = CreateView(job.scene);
  SetViewResolution(job.scene, job.view, job.width, job.height);
  SetMaxTracingDepth(job.scene, job.maxTracingDepth);
}

void RenderWithLibrary(RenderJob& job) {
  const RenderMethod method = static_cast<RenderMethod>(job.method);
  const uint32_t flags = EffectiveShadingFlags(method, job.shadingFlags);
  const L2Scene scene = job.scene;
  const L2View view = job.view;
  int32_t result = L2_OK;
  switch (method) {
    case RenderMethod::Wireframe:
      result = Outline(scene, view, nullptr, flags, AbortCallback, LineCallback, &job);
      break;
    case RenderMethod::HiddenLine:
      result = HiddenLine(scene, view, nullptr, flags, AbortCallback, PixelCallback, &job);
      break;
    case RenderMethod::ZBuffer:
      result = Render(scene, view, nullptr, flags, AbortCallback, PixelCallback, &job);
      break;
    case RenderMethod::Scanline:
      Check(SetViewScanlineDepth(scene, view,
                                 WithinRange("Scan-line depth", job.scanlineDepth, 1, kMaxScanlineDepth)),
            "SetViewScanlineDepth");
      result = Scanner(scene, view, nullptr, flags, AbortCallback, PixelCallback, &job);
      break;
    default:
      if (job.antiAliasDepth > 0) {
        Check(SetAliasDepth(scene, WithinRange("Anti-alias depth", job.antiAliasDepth, 1, kMaxAliasDepth)),
              "SetAliasDepth");
        Check(SetAliasThreshold(scene, job.antiAliasThreshold), "SetAliasThreshold");
        result = AATracer(scene, view, nullptr, flags, AbortCallback, PixelCallback, &job);
      } else {
        result = Tracer(scene, view, nullptr, flags, AbortCallback, PixelCallback, &job);
      }
      break;
  }
  // A render the library could not make must not pass for a finished picture.
  if (result != L2_OK && result != L2_ABORTED) {
    platform::DebugLog::Printf("The render library could not render \"%s\": error %d\n",
                               MethodInfo(method).name, result);
    job.abort = 1;
  }
}

bool LibraryBackend::Render(RenderJob& job) {
  job.SetState(JobState::Rendering);
  switch (job.kind) {
    case RendererKind::Library:
      RenderWithLibrary(job);
      break;
    case RendererKind::PovRay:
    case RendererKind::Rib:
      RenderOutside(job);
      break;
    default:
      platform::DebugLog::Write("Unknown renderer\n");
      job.abort = 1;
      break;
  }
  job.SetState(JobState::Complete);
  return !job.Aborted();
}

void LibraryBackend::RenderOutside(RenderJob& job) {
  platform::DebugLog::Printf("The \"%s\" method is not available in this build\n",
                             MethodInfo(static_cast<RenderMethod>(job.method)).name);
  job.abort = 1;
}

bool LibraryBackend::WriteOutput(RenderJob& job) {
  const image::BgraPicture picture{job.image.Bytes(), job.image.Width(), job.image.Height()};
  std::string error;
  if (image::WriteOutputFile(picture, job.animationSettings.fileOutput, job.outputPath, &error)) {
    return true;
  }
  platform::DebugLog::Printf("%s\n", error.c_str());
  return false;
}

void LibraryBackend::FreeScene(RenderJob& job) {
  if (job.scene != 0) ::FreeScene(job.scene);
  job.scene = 0;
  job.view = 0;
}

}  // namespace lumetra::render
