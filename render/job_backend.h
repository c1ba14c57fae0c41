#pragma once

#include "platform/message_loop.h"

namespace lumetra::render {

struct RenderJob;

// What a job's threads ask of the renderer behind it: the render library, POV-Ray or a
// RIB renderer in the plug-in, a scripted stand-in in tests.
class JobBackend {
 public:
  virtual ~JobBackend() = default;

  // Clears the picture to the background and fixes the pixel grid for the next render.
  virtual void PrepareFrame(RenderJob& job) = 0;
  // The render step; true when the job was not aborted.
  virtual bool Render(RenderJob& job) = 0;
  // Writes the picture to the job's output file; false when it could not.
  virtual bool WriteOutput(RenderJob& job) = 0;
  virtual void FreeScene(RenderJob& job) = 0;
  // The picture of a POV-Ray job lives in memory shared with POV-Ray: null for others.
  virtual uint8_t* SharedPixels(RenderJob&) { return nullptr; }
  // A POV-Ray job's render window while its window thread runs, 0 when it ends.
  virtual void SetPovWindow(RenderJob&, platform::WindowId) {}
  virtual void ReleasePreview(RenderJob&) {}
};

}  // namespace lumetra::render
