#pragma once

#include <cstdint>

#include "abi/calling_convention.h"

namespace lumetra::abi {

// Where the plug-in's control bar lives in the host. On the original platform the bar
// is a window of the operating system, a child of the host's frame, and the user's
// clicks reach it as window messages. Here the host keeps a site for it and hands it out
// through GetHostValue(kHostValueBarSite): the plug-in reports the bar's window procedure
// when it creates the bar, and where it placed it; the host delivers the user's input
// (from a GUI view of the bar, or from the command line acting as a person would)
// through that procedure.
constexpr int32_t kHostValueBarSite = 130;  // writes a const BarSiteRecord*
constexpr uint32_t kBarSiteVersion = 100;

// Controls of the bar (dialog resource 4018) that a host addresses.
constexpr uint32_t kBarInterpolationBox = 4027;  // "Step", "Linear", "Cubic"
constexpr uint32_t kBarKeyButton = 4038;         // animation mode on and off

// Messages the host sends to the bar's window procedure.
constexpr uint32_t kBarCommand = 0x0111;       // wparam: (notification << 16) | control or menu command id
constexpr uint32_t kBarGetCheck = 0x00F0;      // wparam: the control; answers 1 when checked
constexpr uint32_t kBarGetSelection = 0x0147;  // wparam: the control; answers the selected index
constexpr uint32_t kBarSlider = 1520;          // wparam: the slider's notification word
constexpr uint32_t kButtonClicked = 0;         // notification of a button
constexpr uint32_t kSelectionChanged = 1;      // notification of a list box; lparam: the chosen index
// A message of this system's own, beyond those of the original platform's bar: answers the
// ticks of one frame at the rate the bar steps by (the scene's animation settings), or -1
// when that rate gives frames no length. A host reads a time typed in frames with it.
constexpr uint32_t kBarGetFrameTicks = 0x0401;

// Answers what the message asks, or 0 for a command that was handled or ignored.
using BarWindowProc = int32_t(LUMETRA_STDCALL*)(uint32_t window, uint32_t message, uint32_t wparam,
                                                int32_t lparam);

struct BarSiteRecord {
  uint32_t size;     // sizeof(BarSiteRecord) of the host
  uint32_t version;  // kBarSiteVersion
  // The bar was created as a child of `parent`; answers its window id (0: no window).
  uint32_t(LUMETRA_STDCALL* barCreated)(uint32_t parent, BarWindowProc procedure);
  void(LUMETRA_STDCALL* barPlaced)(uint32_t window, int32_t left, int32_t top, int32_t width, int32_t height,
                                   int32_t shown);
  // A bar destroyed while the plug-in stays loaded; a plug-in being unloaded calls the host
  // no more, and the host forgets the bar when it closes the site.
  void(LUMETRA_STDCALL* barDestroyed)(uint32_t window);
};

}  // namespace lumetra::abi
