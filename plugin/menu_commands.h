#pragma once

#include <cstdint>

namespace lumetra::plugin {

// Command ids of the plug-in's menu items.
constexpr uint32_t kCommandRender = 373700;
constexpr uint32_t kCommandAnimation = 373701;
constexpr uint32_t kCommandOptions = 373702;
constexpr uint32_t kCommandTimeline = 373703;

// Menu flag words, passed to the host unchanged.
constexpr uint32_t kMenuFlagsSubmenu = 0x22040000;
constexpr uint32_t kMenuFlagsItem = 0x02040000;

}  // namespace lumetra::plugin
