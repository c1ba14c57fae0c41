#pragma once

#include "plugin/render_service.h"
#include "render/job_list.h"
#include "render/library_backend.h"

namespace plugin {

// The render library's jobs as the plug-in runs them.
class LibraryRenderService : public RenderService {
 public:
  explicit LibraryRenderService(KinetraApp& app) : app_(app) {}
  ~LibraryRenderService() override;

  void StartRender() override;
  void AbortAll() override;

  render::JobList& Jobs() { return jobs_; }

 private:
  // The library's route plus the host preview a job may hold.
  class Backend : public render::LibraryBackend {
   public:
    void ReleasePreview(render::RenderJob& job) override;
  };

  KinetraApp& app_;
  render::JobList jobs_;
  Backend backend_;
};

}  // namespace plugin
