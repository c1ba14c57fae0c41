#pragma once

#include <cstdint>
#include <string>

#include "plugin/plugin_app.h"
#include "plugin/pov_shared_blocks.h"

namespace plugin {

class AnimationSceneInterface;
class RenderMenuInterface;

// The plug-in's application: the scene interface (index 0), the menu interface
// (index 1) and the blocks shared with POV-Ray.
class KinetraApp : public PluginApp {
 public:
  KinetraApp();
  ~KinetraApp() override;

  bool InitInstance() override;
  void ExitInstance() override;
  int32_t FillDllInfo(iface::PluginInfoRecord* record) override;

  // Runs one of the menu commands.
  void RunCommand(uint32_t commandId);

  AnimationSceneInterface* Scene() const { return scene_; }
  RenderMenuInterface* Menu() const { return menu_; }
  PovSharedBlocks& PovBlocks() { return povBlocks_; }

 private:
  AnimationSceneInterface* scene_ = nullptr;  // owned by the interface list
  RenderMenuInterface* menu_ = nullptr;       // owned by the interface list
  PovSharedBlocks povBlocks_;
};

}  // namespace plugin
