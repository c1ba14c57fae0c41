#pragma once

#include <memory>
#include <vector>

#include "render/job_list.h"
#include "ui/options_window.h"

namespace lumetra::plugin {

class KinetraApp;

// How the plug-in renders. The native plug-in renders with the render library; a build
// without the library (the 32-bit layout build) has none and its render commands say so.
class RenderService {
 public:
  virtual ~RenderService() = default;
  // "&Render": makes a still job from the settings, translates the host's scene and
  // starts the job's window thread.
  virtual void StartRender() = 0;
  // "&Animation": the same for an animation job, whose frames then pose the translated
  // scene in place.
  virtual void StartAnimation() = 0;
  // Ends every running job, waiting up to five seconds for them together.
  virtual void AbortAll() = 0;
  // The jobs that exist, for the options sheet's Active Jobs page.
  virtual render::JobList& Jobs() = 0;
  // The AVI compressors an animation can use on this machine.
  virtual std::vector<ui::CompressorEntry> Compressors() const = 0;
};

// The service of this build, or null.
std::unique_ptr<RenderService> MakeRenderService(KinetraApp& app);

}  // namespace lumetra::plugin
