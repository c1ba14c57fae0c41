#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "animation/avi_writer.h"
#include "animation/frame_posing.h"
#include "animation/frame_steps.h"
#include "render/window_thread.h"

namespace lumetra::animation {

// Numbered pictures that stand in for rendering: frame k is `base` + "-%05d" + the
// extension of the file output choice `output`.
struct PictureSource {
  std::string base;
  int32_t output;
};

// The window thread of an animation: its worker renders the frames it is given, posing
// the scene for each, and adds them to one AVI file or writes them as numbered pictures.
// Given numbered pictures instead, it reads each frame from them: a movie of frames
// rendered elsewhere comes out as one rendered here.
class CAnimateThread : public render::JobWindowThread {
 public:
  CAnimateThread(std::shared_ptr<render::RenderJob> job, render::JobList& jobs, render::JobBackend& backend,
                 std::unique_ptr<FramePosing> poser, std::vector<Frame> frames,
                 std::optional<PictureSource> pictures = {});
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
  // The frame's numbered picture into the job's image; false when it cannot be read or
  // has another size.
  bool ReadPicture(const Frame& frame);
  void Finish();

  std::unique_ptr<FramePosing> poser_;
  std::vector<Frame> frames_;
  std::optional<PictureSource> pictures_;
};

}  // namespace lumetra::animation
