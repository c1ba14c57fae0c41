#pragma once

#include <cstddef>
#include <cstdint>

// The two named blocks of shared memory between the plug-in's POV-Ray job and POV-Ray's
// side of the render (the extension, here lumetra-povbridge), and the copy-data codes the
// extension sends to the job's render window.
namespace lumetra::abi::pov {

// Control block: nine u32 fields.
inline constexpr const char* kControlName = "LumetraPOVGUIExt";
inline constexpr std::size_t kControlSize = 36;
inline constexpr std::size_t kWindowField = 20;  // the job's render window, 0 when none
inline constexpr std::size_t kWidthField = 24;
inline constexpr std::size_t kHeightField = 28;

// Display block: a 16-byte head and a 2048 x 2048 32-bit picture in the job's layout.
inline constexpr const char* kDisplayName = "LumetraPOVGUIExtDisplay";
inline constexpr std::size_t kDisplaySize = 0x1000010;
inline constexpr std::size_t kDisplayImageOffset = 16;
inline constexpr std::size_t kMaxPixels = (kDisplaySize - kDisplayImageOffset) / 4;
// 0xFFFFFFFF while a job waits for its picture; the extension sets 0 once it is in place.
inline constexpr std::size_t kPictureDueField = 0;
inline constexpr std::uint32_t kPictureDue = 0xFFFFFFFF;
// The percentage of the picture POV-Ray has rendered, written by the extension.
inline constexpr std::size_t kPercentField = 4;

// First u32 of a copy-data message to the render window. After kRenderFailed the
// extension may put the reason as text.
inline constexpr std::uint32_t kRenderFailed = 2;
inline constexpr std::uint32_t kRenderEnded = 3;

}  // namespace lumetra::abi::pov
