#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry.h"
#include "plugin/host_messages.h"
#include "plugin/plugin_app.h"
#include "plugin/pov_shared_blocks.h"
#include "plugin/render_service.h"
#include "plugin/toolkit_dialogs.h"
#include "render/animation_settings.h"
#include "render/render_settings.h"
#include "render/settings_store.h"
#include "ui/window_toolkit.h"

namespace lumetra::plugin {

class AnimationSceneInterface;
class RenderMenuInterface;

// The plug-in's application: the scene interface (index 0), the menu interface
// (index 1) and the blocks shared with POV-Ray.
class KinetraApp : public PluginApp {
 public:
  // `registry` holds the settings; by default the user's and the machine's files.
  explicit KinetraApp(platform::Registry registry = platform::Registry());
  ~KinetraApp() override;

  bool InitInstance() override;
  void ExitInstance() override;
  int32_t FillDllInfo(abi::PluginInfoRecord* record) override;

  // Runs one of the menu commands.
  void RunCommand(uint32_t commandId);
  // The "Rendering Options" sheet on `page` (ui::OptionsPage) in the host's toolkit; on OK
  // the settings are taken over and the render settings stored. Nothing without a toolkit.
  void OpenOptions(int32_t page);
  // What renders the plug-in's jobs; without one the render commands are not available.
  void SetRenderService(std::unique_ptr<RenderService> service) { renderService_ = std::move(service); }
  RenderService* Renderer() const { return renderService_.get(); }
  // What finds the host's window toolkit when the host is ready; without one the plug-in
  // has no windows of its own.
  void SetToolkitLoader(std::function<ui::WindowToolkit*()> loader) { toolkitLoader_ = std::move(loader); }

  // The host is ready: load the render settings from below the host's registry base
  // path, register the POV-Ray extension and keep the host's application value.
  void OnHostReady();
  // Loads the animation output settings from the registry key of the host's base path.
  void LoadAnimationSettings();

  AnimationSceneInterface* Scene() const { return scene_; }
  RenderMenuInterface* Menu() const { return menu_; }
  PovSharedBlocks& PovBlocks() { return povBlocks_; }
  const render::RenderSettings& RenderSettings() const { return renderSettings_; }
  render::AnimationSettings& AnimationSettings() { return animationSettings_; }
  uint32_t HostValue() const { return hostValue_; }
  // The plug-in's windows in the host's toolkit; null under a host without one.
  ui::WindowToolkit* Toolkit() const { return toolkit_; }

 private:
  AnimationSceneInterface* scene_ = nullptr;  // owned by the interface list
  RenderMenuInterface* menu_ = nullptr;       // owned by the interface list
  PovSharedBlocks povBlocks_;
  HostMessages hostMessages_;
  std::function<ui::WindowToolkit*()> toolkitLoader_;
  ui::WindowToolkit* toolkit_ = nullptr;
  ToolkitDialogs toolkitDialogs_;
  platform::Registry registry_;
  render::RenderSettings renderSettings_;
  render::AnimationSettings animationSettings_;
  std::string basePath_ = render::kFallbackBasePath;  // the host's, once it is ready
  std::unique_ptr<RenderService> renderService_;
  uint32_t hostValue_ = 0;
};

}  // namespace lumetra::plugin
