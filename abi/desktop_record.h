#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"

namespace lumetra::abi {

// The desktop that render windows appear on. On the original platform they are windows of
// the operating system that every program sees; here the host keeps the desktop and hands
// it out through GetHostValue(kHostValueDesktop). A plug-in's render windows report their
// life to it, so a host can show them (a window in the GUI, a progress line on a terminal)
// and knows when they are gone. Calls come from the plug-in's window and worker threads,
// so the host's functions must be safe to call from several threads at once.
constexpr int32_t kHostValueDesktop = 200;  // writes a DesktopRecord*
constexpr uint32_t kDesktopRecordVersion = 100;

// Message boxes on the host's screen, coded as on the original platform: the buttons and
// the icon of a box, and the button that answered it.
enum MessageBoxCode : uint32_t {
  kBoxOk = 0x0,
  kBoxOkCancel = 0x1,
  kBoxYesNoCancel = 0x3,
  kBoxYesNo = 0x4,
  kBoxIconStop = 0x10,
  kBoxIconQuestion = 0x20,
  kBoxIconExclamation = 0x30,
  kBoxIconInformation = 0x40,
  kAnsweredOk = 1,
  kAnsweredCancel = 2,
  kAnsweredYes = 6,
  kAnsweredNo = 7,
};

// What a render window shows: its title names the picture being made (the prefix, then the
// path without extension); an animation's status bar carries the frame's time and the
// counter "Frame k of n" in these parts.
inline constexpr const char* kRenderTitlePrefix = "Render: ";
constexpr int32_t kStatusPartTime = 0;
constexpr int32_t kStatusPartElapsed = 1;
constexpr int32_t kStatusPartCounter = 2;

// The plug-in's way to close one of its windows, as a click on its close box does.
using CloseWindowProc = void(LUMETRA_STDCALL*)(uint32_t window);

struct DesktopRecord {
  uint32_t size;     // sizeof(DesktopRecord) of the host
  uint32_t version;  // kDesktopRecordVersion
  // A window of `width` by `height` pixels opened with `title`; `close` closes it.
  void(LUMETRA_STDCALL* windowOpened)(uint32_t window, const char* title, int32_t width, int32_t height,
                                      CloseWindowProc close);
  void(LUMETRA_STDCALL* windowTitle)(uint32_t window, const char* title);
  void(LUMETRA_STDCALL* windowStatus)(uint32_t window, int32_t part, const char* text);
  // Part of the picture changed: the rectangle (right and bottom exclusive), the whole
  // picture (rows bottom-up, blue, green, red, alpha) and how many of its pixels are done.
  void(LUMETRA_STDCALL* windowPainted)(uint32_t window, int32_t left, int32_t top, int32_t right,
                                       int32_t bottom, const uint8_t* pixels, int32_t pixelsDone,
                                       int32_t pixelsTotal);
  void(LUMETRA_STDCALL* windowClosed)(uint32_t window);
  // Shows a message box (buttons | icon codes) and answers the button; a host whose record
  // is too small to hold it has none, and the plug-in answers its boxes itself.
  uint32_t(LUMETRA_STDCALL* messageBox)(const char* caption, const char* text, uint32_t style);
};

}  // namespace lumetra::abi
