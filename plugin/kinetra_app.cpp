#include "plugin/kinetra_app.h"

#include <cstring>
#include <memory>

#include "abi/menu_record.h"
#include "platform/debug_log.h"
#include "plugin/animation_scene_interface.h"
#include "plugin/plugin_identity.h"
#include "plugin/pov_extension.h"
#include "plugin/render_menu_interface.h"
#include "render/settings_store.h"
#include "ui/options_sheet.h"
#include "ui/timeline_editor.h"

namespace lumetra::plugin {
namespace {

template <size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

const char* CommandName(uint32_t commandId) {
  switch (commandId) {
    case abi::kCommandRender:
      return abi::kMenuTextRender;
    case abi::kCommandAnimation:
      return abi::kMenuTextAnimation;
    case abi::kCommandOptions:
      return abi::kMenuTextOptions;
    case abi::kCommandTimeline:
      return abi::kMenuTextTimeline;
    default:
      return nullptr;
  }
}

}  // namespace

KinetraApp::KinetraApp(platform::Registry registry) : registry_(std::move(registry)) {}
KinetraApp::~KinetraApp() = default;

bool KinetraApp::InitInstance() {
  auto scene = std::make_unique<AnimationSceneInterface>(this);
  scene_ = scene.get();
  AddInterface(std::move(scene));
  auto menu = std::make_unique<RenderMenuInterface>(this, scene_);
  menu_ = menu.get();
  AddInterface(std::move(menu));
  if (!povBlocks_.Create()) return false;
  return PluginApp::InitInstance();
}

void KinetraApp::ExitInstance() {
  if (renderService_) renderService_->AbortAll();
  povBlocks_.Release();
  hostMessages_.Detach();
  toolkitDialogs_.Detach();
  PluginApp::ExitInstance();
}

int32_t KinetraApp::FillDllInfo(abi::PluginInfoRecord* record) {
  CopyField(record->name, kPluginName);
  CopyField(record->notice, kPluginNotice);
  CopyField(record->authorEmail, kAuthorEmail);
  CopyField(record->authorWeb, kAuthorWeb);
  CopyField(record->description, kPluginDescription);
  record->icon = kIconResource;
  return 1;
}

void KinetraApp::OnHostReady() {
  const abi::SceneRecord* host = scene_->SceneRecord();
  std::string basePath;
  if (host == nullptr) {
    platform::DebugLog::Write("Scene Functions not yet available\n");
  } else {
    const char* path = nullptr;
    if (host->getHostValue && host->getHostValue(abi::kHostValueRegistryBase, &path) == 0 &&
        path != nullptr) {
      basePath = path;
    } else {
      platform::DebugLog::Write("Failed to read Zarvel registry base\n");
    }
  }
  basePath_ = basePath.empty() ? render::kFallbackBasePath : basePath;
  if (const auto result = renderSettings_.Load(registry_, basePath_); result != platform::ERROR_SUCCESS) {
    platform::DebugLog::Printf("Failed to load the render settings, registry error %d\n",
                               static_cast<int>(result));
  }
  RegisterPovExtension(registry_);
  if (host && host->getHostValue) host->getHostValue(abi::kHostValueApplication, &hostValue_);
  // In a host with a window toolkit the plug-in asks its questions in dialogs of its own.
  toolkit_ = toolkitLoader_ ? toolkitLoader_() : nullptr;
  if (toolkit_) {
    toolkitDialogs_.Attach(*toolkit_);
  } else if (host) {
    hostMessages_.Attach(HostDesktop(*host));
  }
}

void KinetraApp::LoadAnimationSettings() {
  if (const auto result = animationSettings_.Load(registry_, basePath_); result != platform::ERROR_SUCCESS) {
    platform::DebugLog::Printf("Failed to load the animation settings, registry error %d\n",
                               static_cast<int>(result));
  }
}

void KinetraApp::RunCommand(uint32_t commandId) {
  const char* name = CommandName(commandId);
  if (name == nullptr) {
    platform::DebugLog::Printf("Unknown command id: %u\n", commandId);
    return;
  }
  if (commandId == abi::kCommandRender && renderService_) {
    renderService_->StartRender();
    return;
  }
  if (commandId == abi::kCommandOptions && toolkit_) {
    OpenOptions(ui::kRenderingPage);
    return;
  }
  if (commandId == abi::kCommandAnimation && renderService_) {
    renderService_->StartAnimation();
    return;
  }
  if (commandId == abi::kCommandTimeline && toolkit_) {
    ui::TimelineEditor editor(scene_->Animation(), scene_->TimeFormat());
    toolkit_->RunTimeline(editor);
    // The editor may have moved the current time and the keys the bar marks.
    if (scene_->Bar()) scene_->Bar()->Refresh();
    return;
  }
  platform::DebugLog::Printf("Command not available in this build: %s\n", name);
}

void KinetraApp::OpenOptions(int32_t page) {
  if (!toolkit_) return;
  ui::OptionsSources sources;
  sources.rendering = renderSettings_;
  sources.animation = animationSettings_;
  sources.jobs = renderService_ ? &renderService_->Jobs() : nullptr;
  sources.scene = &scene_->Animation();
  sources.bar = scene_->Bar();
  sources.barFormat = &scene_->TimeFormat();
  sources.registry = &registry_;
  sources.basePath = basePath_;
  if (renderService_) sources.compressors = renderService_->Compressors();
  ui::OptionsSheet sheet(std::move(sources));
  if (!toolkit_->RunOptionsSheet(scene_->Placement().parentWindow, page, sheet)) return;
  renderSettings_ = sheet.RenderSettings();
  animationSettings_ = sheet.AnimationSettings();
  if (const auto result = renderSettings_.Save(registry_, basePath_); result != platform::ERROR_SUCCESS) {
    platform::DebugLog::Printf("Failed to save the render settings, registry error %d\n",
                               static_cast<int>(result));
  }
}

}  // namespace lumetra::plugin
