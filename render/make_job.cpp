#include "render/make_job.h"

#include "platform/messages.h"

namespace lumetra::render {

void RefuseSecondPovJob() {
  platform::Messages::Show("", "Only one POV-Ray render window\nmay be open at one time\n",
                           platform::MessageButtons::Ok, platform::MessageIcon::Stop);
}

std::shared_ptr<RenderJob> MakeJob(const RenderSettings& settings, const AnimationSettings& animation,
                                   JobList& jobs, const std::function<uint32_t()>& newScene) {
  const RenderMethod method = settings.Method();
  if (method == RenderMethod::PovRay &&
      jobs.Any([](const RenderJob& job) { return job.kind == RendererKind::PovRay; })) {
    RefuseSecondPovJob();
    return nullptr;
  }
  auto job = std::make_shared<RenderJob>();
  jobs.Add(job);
  job->method = settings.method;
  job->shadingFlags = settings.FlagsOf(method);
  job->scanlineDepth = settings.scanlineDepth;
  job->volumeStepSize = settings.volumeStepSize;
  job->volumeMinSteps = settings.volumeMinSteps;
  job->volumeMaxSteps = settings.volumeMaxSteps;
  job->animationSettings = animation;
  switch (method) {
    case RenderMethod::PovRay:
      job->kind = RendererKind::PovRay;
      break;
    case RenderMethod::Rib:
      job->kind = RendererKind::Rib;
      job->ribRenderer = settings.ribRenderer;
      break;
    default:
      job->kind = RendererKind::Library;
      job->scene = newScene();
      break;
  }
  job->createdAt = NowSeconds();
  return job;
}

}  // namespace lumetra::render
