// The build without the render library.
#include "plugin/render_service.h"

namespace lumetra::plugin {

std::unique_ptr<RenderService> MakeRenderService(KinetraApp&) { return nullptr; }

}  // namespace lumetra::plugin
