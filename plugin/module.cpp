// Loading and unloading of liblumetra.so: the application starts when the host loads
// the module and shuts down when it unloads it.
#include <dlfcn.h>

#include <memory>
#include <string>

#include "platform/debug_log.h"
#include "plugin/kinetra_app.h"
#include "plugin/module_path.h"
#include "plugin/render_service.h"
#include "plugin/window_toolkit_loader.h"
#include "render/window_thread.h"

namespace lumetra::plugin {
namespace {

std::string g_modulePath;

class Module {
 public:
  Module() {
    // The application joins the render windows' threads when it shuts down.
    render::JobWindowThread::JoinEnded();
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) && info.dli_fname) {
      g_modulePath = info.dli_fname;
    }
    app_ = std::make_unique<KinetraApp>();
    app_->SetRenderService(MakeRenderService(*app_));
    app_->SetToolkitLoader(LoadWindowToolkit);
    if (!app_->InitInstance()) {
      // Without the application the exports refuse, so the host cannot use the module.
      platform::DebugLog::Write("Lumetra could not start: the shared control block is unavailable\n");
      app_->ExitInstance();
      app_.reset();
    }
  }
  ~Module() {
    if (app_) app_->ExitInstance();
  }

 private:
  std::unique_ptr<KinetraApp> app_;
};

Module g_module;

}  // namespace

const std::string& ModulePath() { return g_modulePath; }

}  // namespace lumetra::plugin
