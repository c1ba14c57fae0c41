#pragma once

#include <cstdint>

namespace lumetra::plugin {

// What the information record tells the host about this plug-in.
inline constexpr const char* kPluginName = "Lumetra (beta 21)";
inline constexpr const char* kPluginNotice = "Lumetra rendering and animation, free software";
inline constexpr const char* kAuthorEmail = "team@lumetra.invalid";
inline constexpr const char* kAuthorWeb = "https://lumetra.invalid/";
inline constexpr const char* kPluginDescription = "Rendering and Keyframe Animation plugin";

// The plug-in's icon resource; the host resolves it to a picture through the resource id.
constexpr uint32_t kIconResource = 4000;

}  // namespace lumetra::plugin
