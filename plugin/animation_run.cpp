#include "plugin/animation_run.h"

#include <algorithm>

#include "abi/animation_run_record.h"
#include "abi/result_codes.h"
#include "keyframe/interpolation.h"

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
  if (asked(abi::kRunOutputBase)) {
    const auto length =
        std::find(run.outputBase, run.outputBase + sizeof run.outputBase, '\0') - run.outputBase;
    job.outputPath.assign(run.outputBase, static_cast<size_t>(length));
  }
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

void KeyFollowingCamera(const render::RenderJob& job, keyframe::SceneAnimation& animation) {
  if (job.camera == 0 || animation.FindTrack(job.camera)) return;
  const bool follows = (job.lookAtObject != 0 && animation.FindTrack(job.lookAtObject)) ||
                       (job.locationObject != 0 && animation.FindTrack(job.locationObject));
  if (!follows) return;
  animation.SetKeys(job.camera, 0, static_cast<int32_t>(keyframe::Interpolation::Step), true);
  animation.AddKeyTimes(job.camera);
}

}  // namespace lumetra::plugin
