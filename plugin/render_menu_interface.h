#pragma once

#include <cstdint>

#include "plugin/menu_interface_base.h"

namespace lumetra::plugin {

class AnimationSceneInterface;
class KinetraApp;

// The plug-in's menu: "&Render", "&Animation", "&Options" and "&Timeline" under one
// submenu entry.
class RenderMenuInterface : public MenuInterfaceBase {
 public:
  RenderMenuInterface(KinetraApp* app, AnimationSceneInterface* scene);

  int32_t EnumMenuItem(int32_t index, uint32_t* flags, const char** text, uint32_t* commandId) override;
  int32_t QueryCommandState(uint32_t commandId, uint32_t* enabled) override;
  int32_t ExecuteCommand(uint32_t commandId) override;

 private:
  KinetraApp* app_;
  AnimationSceneInterface* scene_;
};

}  // namespace lumetra::plugin
