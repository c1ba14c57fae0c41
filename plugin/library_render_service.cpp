#include "plugin/library_render_service.h"

#include <exception>

#include "abi/result_codes.h"
#include "animation/animate_thread.h"
#include "animation/avi_codecs.h"
#include "animation/frame_poser.h"
#include "lumetra2.h"
#include "platform/debug_log.h"
#include "platform/messages.h"
#include "plugin/animation_run.h"
#include "plugin/animation_scene_interface.h"
#include "plugin/host_messages.h"
#include "plugin/kinetra_app.h"
#include "plugin/pov_route.h"
#include "plugin/rib_route.h"
#include "render/make_job.h"
#include "render/output_path.h"
#include "render/window_thread.h"
#include "translate/host_preview.h"
#include "translate/job_translation.h"

namespace lumetra::plugin {
namespace {

// The outside renderers read the host's scene: each frame poses it.
class HostScenePoser : public animation::FramePosing {
 public:
  explicit HostScenePoser(keyframe::SceneAnimation& animation) : animation_(animation) {}
  void Pose(int32_t time) override { animation_.Pose(time); }

 private:
  keyframe::SceneAnimation& animation_;
};

}  // namespace

std::unique_ptr<RenderService> MakeRenderService(KinetraApp& app) {
  return std::make_unique<LibraryRenderService>(app);
}

LibraryRenderService::~LibraryRenderService() { AbortAll(); }

void LibraryRenderService::Backend::ReleasePreview(render::RenderJob& job) {
  translate::ReleaseHostPreview(job);
}

uint8_t* LibraryRenderService::Backend::SharedPixels(render::RenderJob& job) {
  return job.kind == render::RendererKind::PovRay ? app_.PovBlocks().DisplayPixels() : nullptr;
}

void LibraryRenderService::Backend::SetPovWindow(render::RenderJob&, platform::WindowId window) {
  app_.PovBlocks().SetPovWindow(window);
}

void LibraryRenderService::Backend::RenderOutside(render::RenderJob& job) {
  const abi::SceneRecord* host = app_.Scene()->SceneRecord();
  if (job.kind == render::RendererKind::PovRay) {
    RenderWithPovRay(job, host, app_.PovBlocks());
  } else if (job.kind == render::RendererKind::Rib && host != nullptr) {
    RenderWithRib(job, *host);
  } else {
    render::LibraryBackend::RenderOutside(job);
  }
}

std::shared_ptr<render::RenderJob> LibraryRenderService::MakeTranslatedJob(const abi::SceneRecord& host,
                                                                           bool animation) {
  if (app_.RenderSettings().Method() == render::RenderMethod::PovRay &&
      PovBlocksTakenElsewhere(app_.PovBlocks())) {
    render::RefuseSecondPovJob();
    return nullptr;
  }
  auto job =
      render::MakeJob(app_.RenderSettings(), app_.AnimationSettings(), jobs_, [] { return NewScene(); });
  if (!job) return nullptr;
  job->animation = animation;
  job->desktop = HostDesktop(host);
  job->windowMaker = app_.Toolkit();
  uint32_t parent = 0;
  if (host.getHostValue && host.getHostValue(abi::kHostValueMainWindow, &parent) == abi::kOk) {
    job->parentWindow = parent;
  }
  try {
    translate::TranslateJob(*job, host);
  } catch (const std::exception& error) {
    // Nothing may cross the host's call; a job that cannot be translated is dropped.
    platform::DebugLog::Printf("Failed to translate the scene: %s\n", error.what());
    ::FreeScene(job->scene);
    jobs_.Remove(job.get());
    return nullptr;
  }
  if (job->kind == render::RendererKind::PovRay && !PreparePovJob(*job, app_.PovBlocks())) {
    jobs_.Remove(job.get());
    platform::Messages::Show("Error", "Failed to create POV-Ray render job", platform::MessageButtons::Ok,
                             platform::MessageIcon::Stop);
    return nullptr;
  }
  return job;
}

const abi::SceneRecord* LibraryRenderService::ConnectedHost() const {
  const abi::SceneRecord* host = app_.Scene()->SceneRecord();
  if (host == nullptr) platform::DebugLog::Write("Scene Functions not yet available\n");
  return host;
}

void LibraryRenderService::SetOutputPath(render::RenderJob& job, const abi::SceneRecord& host) {
  abi::RenderSettingsRecord settings;
  const bool answered = render::ReadRenderSettings(host, settings);
  job.outputPath = render::StillOutputPath(job, answered ? &settings : nullptr);
}

void LibraryRenderService::StartRender() {
  const abi::SceneRecord* host = ConnectedHost();
  auto job = host ? MakeTranslatedJob(*host, false) : nullptr;
  if (!job) return;
  SetOutputPath(*job, *host);
  render::JobWindowThread::Start(std::make_unique<render::CRenderThread>(job, jobs_, backend_));
}

void LibraryRenderService::StartAnimation() {
  const abi::SceneRecord* host = ConnectedHost();
  auto job = host ? MakeTranslatedJob(*host, true) : nullptr;
  if (!job) return;
  keyframe::SceneAnimation& animation = app_.Scene()->Animation();
  KeyFollowingCamera(*job, animation);
  PrepareAnimationRun(*job, *host, animation);
  SetOutputPath(*job, *host);
  RunPlan plan = PlanAnimationRun(*job, *host);
  if (plan.listOnly) {
    backend_.FreeScene(*job);
    backend_.ReleasePreview(*job);
    jobs_.Remove(job.get());
    return;
  }
  std::unique_ptr<animation::FramePosing> poser;
  if (job->kind == render::RendererKind::Library) {
    poser = std::make_unique<animation::FramePoser>(*job, *host, animation);
  } else {
    poser = std::make_unique<HostScenePoser>(animation);
  }
  render::JobWindowThread::Start(std::make_unique<animation::CAnimateThread>(
      job, jobs_, backend_, std::move(poser), std::move(plan.frames), std::move(plan.pictures)));
}

std::vector<ui::CompressorEntry> LibraryRenderService::Compressors() const {
  std::vector<ui::CompressorEntry> entries;
  for (const animation::AviCodecOffer& offer : animation::AvailableAviCodecs()) {
    const uint32_t handler = abi::FourCC(offer.codec->handler);
    entries.push_back({handler, animation::FourCCText(handler), offer.description,
                       offer.codec->quality != animation::QualityControl::None, offer.quality,
                       offer.keyFrameEvery, offer.dataRate});
  }
  return entries;
}

void LibraryRenderService::AbortAll() {
  jobs_.AbortAll();
  // A job off the list may still have its window thread winding down.
  render::JobWindowThread::JoinEnded(render::JobList::kAbortWaitMilliseconds);
}

}  // namespace lumetra::plugin
