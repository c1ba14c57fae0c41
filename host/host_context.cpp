#include "host/host_context.h"

#include <stdexcept>

namespace lumetra::host {
namespace {

HostContext* g_current = nullptr;

}  // namespace

HostContext::HostContext(Scene& scene) : scene_(scene), finder_(FolderOf(scene.path), scene.searchPaths) {
  if (g_current) throw std::logic_error("a host context is already current");
  g_current = this;
}

HostContext::~HostContext() { g_current = nullptr; }

HostContext* HostContext::Current() { return g_current; }

}  // namespace lumetra::host
