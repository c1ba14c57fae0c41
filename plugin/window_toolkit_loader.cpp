#include "plugin/window_toolkit_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "platform/debug_log.h"
#include "plugin/module_path.h"

namespace lumetra::plugin {
namespace {

bool QtApplicationLibraryLoaded() {
  void* widgets = dlopen("libQt6Widgets.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (widgets == nullptr) return false;
  dlclose(widgets);  // drops only the reference RTLD_NOLOAD took
  return true;
}

std::string CompanionPath() {
  const std::filesystem::path module = ModulePath();
  return module.empty() ? kQtToolkitLibrary : (module.parent_path() / kQtToolkitLibrary).string();
}

}  // namespace

ui::WindowToolkit* LoadWindowToolkit() {
  if (!QtApplicationLibraryLoaded()) return nullptr;
  const std::string path = CompanionPath();
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library == nullptr) {
    platform::DebugLog::Printf("No Qt windows: %s\n", dlerror());
    return nullptr;
  }
  const auto entry = reinterpret_cast<ui::WindowToolkitEntry>(dlsym(library, ui::kWindowToolkitEntry));
  ui::WindowToolkit* toolkit = entry ? entry(ui::kWindowToolkitVersion) : nullptr;
  if (toolkit == nullptr)
    platform::DebugLog::Printf("No Qt windows: %s has no usable toolkit\n", path.c_str());
  // The library stays loaded (RTLD_NODELETE); the handle's reference is not needed.
  dlclose(library);
  return toolkit;
}

}  // namespace lumetra::plugin
