#include "animation/animate_thread.h"

#include <cstdio>
#include <exception>

#include "abi/animation_run_record.h"
#include "abi/desktop_record.h"
#include "image/image_bgra.h"
#include "image/image_loader.h"
#include "image/image_writer.h"
#include "keyframe/time_format.h"
#include "platform/debug_log.h"
#include "platform/messages.h"

namespace lumetra::animation {
namespace {

std::string Seconds(double seconds) { return std::to_string(static_cast<int>(seconds)); }

std::string FrameFileSuffix(int32_t index) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, abi::kFrameNumberSuffix, index);
  return suffix;
}

}  // namespace

CAnimateThread::CAnimateThread(std::shared_ptr<render::RenderJob> job, render::JobList& jobs,
                               render::JobBackend& backend, std::unique_ptr<FramePosing> poser,
                               std::vector<Frame> frames, std::optional<PictureSource> pictures)
    : JobWindowThread(std::move(job), jobs, backend),
      poser_(std::move(poser)),
      frames_(std::move(frames)),
      pictures_(std::move(pictures)) {}

CAnimateThread::~CAnimateThread() = default;

bool CAnimateThread::MayStart() { return CheckOutputName(Job(), Jobs()); }

void CAnimateThread::Work() {
  render::RenderJob& job = Job();
  AviWriter avi;
  if (OpenMovie(avi)) {
    job.display.SetTitle(job.DisplayName());
    for (size_t k = 0; k < frames_.size() && !job.Aborted(); ++k) {
      RenderFrame(frames_[k], "Frame " + std::to_string(k + 1) + " of " + std::to_string(frames_.size()),
                  avi);
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
  if (pictures_) {
    if (ReadPicture(frame) && !job.Aborted()) WriteFrame(frame, avi);
    return;
  }
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

bool CAnimateThread::ReadPicture(const Frame& frame) {
  render::RenderJob& job = Job();
  const std::string path = pictures_->base + FrameFileSuffix(frame.index) +
                           image::ExtensionOf(image::FormatForOutputChoice(pictures_->output));
  image::Image picture;
  image::LoadReport report;
  if (!image::LoadImage(picture, path, &report) || picture.Width() != job.image.Width() ||
      picture.Height() != job.image.Height()) {
    platform::DebugLog::Printf("Frame %d: cannot use %s %s\n", frame.index, path.c_str(),
                               report.error.c_str());
    return false;
  }
  const std::vector<uint8_t> bgra = image::ToBottomUpBgra(picture);
  const int32_t width = picture.Width(), height = picture.Height();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = bgra.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 4;
    for (int32_t x = 0; x < width; ++x, row += 4) job.image.Put(x, y, row[2], row[1], row[0], row[3]);
  }
  job.image.MarkAllChanged();
  job.pixelsDone = width * height;
  return true;
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
