#pragma once

#include <cstdint>
#include <memory>

#include "render/job_list.h"
#include "render/render_job.h"

namespace lumetra::animation {

// The AVI file of one animation: the container, its video stream and the encoder that
// the job's compressor handler names. Lives on the animation worker for the whole loop.
// Frames come from the job's image buffer and land at their frame index; failures are
// shown in message boxes naming the output path.
class AviWriter {
 public:
  AviWriter();
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Opens the job's output path (which ends in ".avi") for frames of the job's size with
  // the compressor settings of its animation settings. An existing file is kept as .bak;
  // a read-only one fails without a message; a busy one asks for another name. True
  // when the file is ready for frames; a failure leaves nothing open.
  bool Open(render::RenderJob& job);
  // Adds the job's picture as frame `index`. A failure is shown and costs only that
  // frame (false).
  bool WriteFrame(const render::RenderJob& job, int32_t index);
  // Finishes the file so that the frames written so far play; nothing when not open.
  void Close();
  bool IsOpen() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The save-file dialog of the AVI output: true when the user picked a name, which then
// replaces the job's output path.
bool ChooseAnotherName(render::RenderJob& job);

// Before an animation starts: every other listed job that writes the same output path
// (letter case ignored) makes the user pick another name. False when no name was picked:
// the animation is refused.
bool CheckOutputName(render::RenderJob& job, const render::JobList& jobs);

}  // namespace lumetra::animation
