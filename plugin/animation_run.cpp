#include "plugin/animation_run.h"

#include <algorithm>

#include "abi/animation_run_record.h"
#include "abi/result_codes.h"
#include "keyframe/interpolation.h"
#include "platform/debug_log.h"

namespace lumetra::plugin {
namespace {

const abi::AnimationRunRecord* RunRecord(const abi::SceneRecord& host) {
  const abi::AnimationRunRecord* run = nullptr;
  if (!host.getHostValue || host.getHostValue(abi::kHostValueAnimationRun, &run) != abi::kOk || !run ||
      run->size < sizeof(abi::AnimationRunRecord) || run->version / 100 != abi::kAnimationRunVersion / 100) {
    return nullptr;
  }
  return run;
}

// A fixed-size text field up to its first NUL.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, static_cast<size_t>(std::find(field, field + N, '\0') - field));
}

int32_t LastKeyTime(const keyframe::SceneAnimation& animation) {
  int32_t last = 0;
  for (const auto& [id, track] : animation.AllTracks()) {
    if (!track->Keys().empty()) last = std::max(last, track->Keys().back().time);
  }
  return last;
}

void TakeRun(const abi::AnimationRunRecord& run, render::RenderJob& job,
             const keyframe::SceneAnimation& animation) {
  render::AnimationSettings& settings = job.animationSettings;
  const auto asked = [&](abi::AnimationRunField field) { return (run.fields & field) != 0; };
  if (asked(abi::kRunFileOutput)) settings.fileOutput = run.fileOutput;
  if (asked(abi::kRunCompressor)) settings.compressor = run.compressor;
  if (asked(abi::kRunQuality)) settings.quality = run.quality;
  if (asked(abi::kRunKeyFrames)) settings.keyFrameEvery = run.keyFrameEvery;
  if (asked(abi::kRunDataRate)) settings.dataRate = run.dataRate;
  if (asked(abi::kRunFrameRate)) {
    settings.frameRateNumerator = run.rateNumerator;
    settings.frameRateDenominator = run.rateDenominator;
  }
  if (asked(abi::kRunStart)) job.startTime = run.startTime;
  if (asked(abi::kRunEnd)) {
    job.endTime = run.endTime;
  } else if (asked(abi::kRunThroughLastKey)) {
    job.endTime = std::max(job.endTime, LastKeyTime(animation));
  }
  if (asked(abi::kRunDropLastFrame)) settings.dropLastFrame = run.dropLastFrame != 0;
  if (asked(abi::kRunOutputBase)) job.outputPath = FieldText(run.outputBase);
}

}  // namespace

void PrepareAnimationRun(render::RenderJob& job, const abi::SceneRecord& host,
                         const keyframe::SceneAnimation& animation) {
  job.startTime = animation.StartTime();
  job.endTime = animation.EndTime();
  if (job.endTime <= job.startTime) job.endTime = std::max(job.startTime, LastKeyTime(animation));
  if (const abi::AnimationRunRecord* run = RunRecord(host)) TakeRun(*run, job, animation);
  const render::AnimationSettings& settings = job.animationSettings;
  if (job.outputPath.empty() && settings.fileOutput != static_cast<int32_t>(render::FileOutput::Avi)) {
    job.outputPath = settings.outputBaseName;
  }
}

RunPlan PlanAnimationRun(const render::RenderJob& job, const abi::SceneRecord& host) {
  const render::AnimationSettings& settings = job.animationSettings;
  const auto steps = animation::FrameSteps(job.startTime, job.endTime, settings.frameRateNumerator,
                                           settings.frameRateDenominator, settings.dropLastFrame);
  if (!steps) {
    platform::DebugLog::Printf("No frames at %d/%d frames per second\n", settings.frameRateNumerator,
                               settings.frameRateDenominator);
  }
  RunPlan plan{steps.value_or(std::vector<animation::Frame>{}), std::nullopt, false};
  if (host.getHostValue) {
    abi::AnimationFramesRecord told{
        sizeof told,
        abi::kAnimationFramesVersion,
        plan.frames.empty() ? 0 : plan.frames.front().index,
        static_cast<int32_t>(plan.frames.size()),
        job.startTime,
        animation::FrameStep(settings.frameRateNumerator, settings.frameRateDenominator),
        job.width,
        job.height};
    host.getHostValue(abi::kHostValueAnimationFrames, &told);
  }
  const abi::AnimationRunRecord* run = RunRecord(host);
  if (!run) return plan;
  plan.listOnly = (run->fields & abi::kRunListOnly) != 0;
  if (run->fields & abi::kRunFromPictures) {
    plan.pictures = animation::PictureSource{FieldText(run->picturesBase), run->picturesOutput};
  }
  if (run->fields & abi::kRunFrames) {
    const int32_t stride = std::max(1, run->frameStride);
    std::erase_if(plan.frames, [&](const animation::Frame& frame) {
      return frame.index < run->firstFrame || frame.index > run->lastFrame ||
             (frame.index - run->firstFrame) % stride != 0;
    });
  }
  if (plan.listOnly) plan.frames.clear();
  return plan;
}

void KeyFollowingCamera(const render::RenderJob& job, keyframe::SceneAnimation& animation) {
  if (job.camera == 0 || animation.FindTrack(job.camera)) return;
  const bool follows = (job.lookAtObject != 0 && animation.FindTrack(job.lookAtObject)) ||
                       (job.locationObject != 0 && animation.FindTrack(job.locationObject));
  if (!follows) return;
  animation.SetKeys(job.camera, 0, static_cast<int32_t>(keyframe::Interpolation::Step), true);
  animation.AddKeyTimes(job.camera);
}

}  // namespace lumetra::plugin
