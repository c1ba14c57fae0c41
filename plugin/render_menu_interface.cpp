#include "plugin/render_menu_interface.h"

#include <array>

#include "abi/menu_record.h"
#include "abi/result_codes.h"
#include "plugin/animation_scene_interface.h"
#include "plugin/kinetra_app.h"

namespace lumetra::plugin {
namespace {

constexpr std::array<MenuItem, 5> kItems{{
    {abi::kMenuFlagsSubmenu, nullptr, 0},
    {abi::kMenuFlagsItem, abi::kMenuTextRender, abi::kCommandRender},
    {abi::kMenuFlagsItem, abi::kMenuTextAnimation, abi::kCommandAnimation},
    {abi::kMenuFlagsItem, abi::kMenuTextOptions, abi::kCommandOptions},
    {abi::kMenuFlagsItem, abi::kMenuTextTimeline, abi::kCommandTimeline},
}};

}  // namespace

RenderMenuInterface::RenderMenuInterface(KinetraApp* app, AnimationSceneInterface* scene)
    : app_(app), scene_(scene) {}

int32_t RenderMenuInterface::EnumMenuItem(int32_t index, uint32_t* flags, const char** text,
                                          uint32_t* commandId) {
  return Describe(kItems, index, flags, text, commandId);
}

int32_t RenderMenuInterface::QueryCommandState(uint32_t commandId, uint32_t* enabled) {
  if (enabled == nullptr) return abi::kOk;
  switch (commandId) {
    case abi::kCommandRender:
    case abi::kCommandTimeline:
      *enabled = 1;
      break;
    case abi::kCommandAnimation:
      *enabled = scene_->HasTracks() ? 1 : 0;
      break;
    default:  // "&Options" and unknown ids keep the host's value
      break;
  }
  return abi::kOk;
}

int32_t RenderMenuInterface::ExecuteCommand(uint32_t commandId) {
  app_->RunCommand(commandId);
  return abi::kOk;
}

}  // namespace lumetra::plugin
