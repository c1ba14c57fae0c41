#include "animation/animate_thread.h"

#include <cstdio>
#include <exception>

#include "abi/desktop_record.h"
#include "image/image_writer.h"
#include "keyframe/time_format.h"
#include "platform/debug_log.h"
#include "platform/messages.h"

namespace lumetra::animation {
namespace {

std::string Seconds(double seconds) { return std::to_string(static_cast<int>(seconds)); }

std::string FrameFileSuffix(int32_t index) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "-%05d", index);
  return suffix;
}

}  // namespace

CAnimateThread::CAnimateThread(std::shared_ptr<render::RenderJob> job, render::JobList& jobs,
                               render::JobBackend& backend, std::unique_ptr<FramePosing> poser)
    : JobWindowThread(std::move(job), jobs, backend), poser_(std::move(poser)) {}

CAnimateThread::~CAnimateThread() = default;

bool CAnimateThread::MayStart() { return CheckOutputName(Job(), Jobs()); }

void CAnimateThread::Work() {
  render::RenderJob& job = Job();
  AviWriter avi;
  if (OpenMovie(avi)) {
    job.display.SetTitle(job.DisplayName());
    const render::AnimationSettings& settings = job.animationSettings;
    const auto frames = FrameSteps(job.startTime, job.endTime, settings.frameRateNumerator,
                                   settings.frameRateDenominator, settings.dropLastFrame);
    if (!frames) {
      platform::DebugLog::Printf("No frames at %d/%d frames per second\n", settings.frameRateNumerator,
                                 settings.frameRateDenominator);
    }
    const std::vector<Frame> all = frames.value_or(std::vector<Frame>{});
    for (size_t k = 0; k < all.size() && !job.Aborted(); ++k) {
      RenderFrame(all[k], "Frame " + std::to_string(k + 1) + " of " + std::to_string(all.size()), avi);
    }
    // The frames written so far play, also after an abort.
    avi.Close();
  }
  Finish();
}

bool CAnimateThread::OpenMovie(AviWriter& avi) {
  render::RenderJob& job = Job();
  if (job.animationSettings.fileOutput != static_cast<int32_t>(render::FileOutput::Avi)) return true;
  job.outputPath += ".avi";
  if (avi.Open(job)) return true;
  // Without the movie the frames become run-length TGA pictures named after it.
  return platform::Messages::Show("Warning", "AVI file won't be created - render anyway?",
                                  platform::MessageButtons::OkCancel,
                                  platform::MessageIcon::Warning) == platform::MessageAnswer::Ok;
}

void CAnimateThread::RenderFrame(const Frame& frame, const std::string& counter, AviWriter& avi) {
  render::RenderJob& job = Job();
  const double started = render::NowSeconds();
  job.frameIndex = frame.index;
  job.SetState(render::JobState::Processing);
  poser_->Pose(frame.time);
  try {
    const std::string time = keyframe::FormatTime(job.animationSettings.TimeFormat(), frame.time);
    if (!job.Aborted()) job.display.SetStatus(abi::kStatusPartTime, time);
  } catch (const std::exception&) {
    // A time display the settings do not know shows no time.
  }
  // After the time, so that whoever follows the window sees the new frame's time with it.
  job.display.SetStatus(abi::kStatusPartCounter, counter);
  if (frame.time > job.startTime) Backend().PrepareFrame(job);
  if (Backend().Render(job) && job.showWindow)
    job.display.SetStatus(abi::kStatusPartElapsed, Seconds(render::NowSeconds() - started));
  if (!job.Aborted()) WriteFrame(frame, avi);
}

void CAnimateThread::WriteFrame(const Frame& frame, AviWriter& avi) {
  render::RenderJob& job = Job();
  if (avi.IsOpen()) {
    avi.WriteFrame(job, frame.index);
    return;
  }
  const std::string base = job.outputPath;
  job.outputPath = base + FrameFileSuffix(frame.index);
  if (!Backend().WriteOutput(job)) platform::DebugLog::Printf("Failed to write frame %d\n", frame.index);
  job.outputPath = base;
}

void CAnimateThread::Finish() {
  render::RenderJob& job = Job();
  Backend().FreeScene(job);
  if (!job.showWindow) {
    job.display.PostQuit();
  } else if (!job.Aborted()) {
    job.renderEndedAt = render::NowSeconds();
    job.display.SetStatus(abi::kStatusPartElapsed, Seconds(job.renderEndedAt - job.createdAt));
  }
  Backend().ReleasePreview(job);
  job.abort = 1;  // the job is finished
}

}  // namespace lumetra::animation
