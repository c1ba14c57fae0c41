#pragma once

#include "abi/scene_record.h"
#include "plugin/render_service.h"
#include "render/job_list.h"
#include "render/library_backend.h"

namespace lumetra::plugin {

// The render library's jobs as the plug-in runs them.
class LibraryRenderService : public RenderService {
 public:
  explicit LibraryRenderService(KinetraApp& app) : app_(app), backend_(app) {}
  ~LibraryRenderService() override;

  void StartRender() override;
  void StartAnimation() override;
  void AbortAll() override;

  render::JobList& Jobs() override { return jobs_; }
  std::vector<ui::CompressorEntry> Compressors() const override;

 private:
  // The library's route, the host preview a job may hold, and the outside renderers,
  // which render the host's scene.
  class Backend : public render::LibraryBackend {
   public:
    explicit Backend(KinetraApp& app) : app_(app) {}
    void ReleasePreview(render::RenderJob& job) override;
    uint8_t* SharedPixels(render::RenderJob& job) override;
    void SetPovWindow(render::RenderJob& job, platform::WindowId window) override;

   protected:
    void RenderOutside(render::RenderJob& job) override;

   private:
    KinetraApp& app_;
  };

  // The host's scene record; null (and a debug line) before the host connected it.
  const abi::SceneRecord* ConnectedHost() const;
  // The still's or the animation's output path from the host's render settings.
  static void SetOutputPath(render::RenderJob& job, const abi::SceneRecord& host);
  // A job made from the settings and translated from the host's scene, with the window
  // on the host's desktop; null when it could not be made or translated.
  std::shared_ptr<render::RenderJob> MakeTranslatedJob(const abi::SceneRecord& host, bool animation);

  KinetraApp& app_;
  render::JobList jobs_;
  Backend backend_;
};

}  // namespace lumetra::plugin
