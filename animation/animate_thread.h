#pragma once

#include <memory>
#include <string>

#include "animation/avi_writer.h"
#include "animation/frame_posing.h"
#include "animation/frame_steps.h"
#include "render/window_thread.h"

namespace lumetra::animation {

// The window thread of an animation: its worker renders the frames from the job's start
// time to its end time, posing the scene for each, and adds them to one AVI file or
// writes them as numbered pictures.
class CAnimateThread : public render::JobWindowThread {
 public:
  CAnimateThread(std::shared_ptr<render::RenderJob> job, render::JobList& jobs, render::JobBackend& backend,
                 std::unique_ptr<FramePosing> poser);
  ~CAnimateThread() override;

 protected:
  std::string OpenFailedText() const override { return "Failed to create animation job"; }
  std::string TerminateFailedText() const override { return "Failed to terminate animation thread"; }
  // No other job may write the same output file.
  bool MayStart() override;
  void Work() override;

 private:
  // Opens the movie; false when the user would rather not render without it.
  bool OpenMovie(AviWriter& avi);
  // `counter` ("Frame 3 of 16") goes into the status bar's last part.
  void RenderFrame(const Frame& frame, const std::string& counter, AviWriter& avi);
  void WriteFrame(const Frame& frame, AviWriter& avi);
  void Finish();

  std::unique_ptr<FramePosing> poser_;
};

}  // namespace lumetra::animation
