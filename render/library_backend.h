#pragma once

#include "render/job_backend.h"

namespace lumetra::render {

// Renders jobs with the render library: the route of each render method, the pixel grid
// and background of a frame, the output files.
class LibraryBackend : public JobBackend {
 public:
  void PrepareFrame(RenderJob& job) override;
  bool Render(RenderJob& job) override;
  bool WriteOutput(RenderJob& job) override;
  void FreeScene(RenderJob& job) override;

 protected:
  // The render step of a job drawn by an outside renderer (POV-Ray or RIB); without one
  // the job is aborted.
  virtual void RenderOutside(RenderJob& job);
};

// Calls the library's render entry for the job's method with its shading flags and the
// job's callbacks.
void RenderWithLibrary(RenderJob& job);

}  // namespace lumetra::render
