#include "render/animation_settings.h"

#include "render/settings_store.h"

namespace lumetra::render {

platform::RegResult AnimationSettings::Load(const platform::Registry& registry, std::string_view basePath) {
  return LoadSettings(*this, registry, basePath);
}

platform::RegResult AnimationSettings::Save(const platform::Registry& registry,
                                            std::string_view basePath) const {
  return SaveSettings(*this, registry, basePath);
}

}  // namespace lumetra::render
