#pragma once

#include <cstdint>
#include <stdexcept>

#include "abi/bar_site_record.h"

namespace lumetra::host {

// The place the host keeps for the plug-in's control bar, process-wide like the host's
// frame window. While open, the host has a main window (host value 101 when the scene's
// context names none) and answers host value 130 with the site's record; the plug-in
// registers its bar there and the host sends it the user's input.
class BarSite {
 public:
  struct Placement {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool shown = false;
  };

  static BarSite& Instance();

  // `mainWindow` is the host window the bar becomes a child of: a GUI's real window, or a
  // stand-in id for a host without windows.
  void Open(uint32_t mainWindow = kHeadlessMainWindow);
  void Close();
  bool IsOpen() const { return open_; }
  // The window that parents the bar; 0 while closed.
  uint32_t MainWindow() const { return open_ ? mainWindow_ : 0; }
  // The record for GetHostValue(130); null while closed.
  const abi::BarSiteRecord* Record() const { return open_ ? &record_ : nullptr; }

  bool HasBar() const { return procedure_ != nullptr; }
  uint32_t BarWindow() const { return barWindow_; }
  const Placement& BarPlacement() const { return placement_; }
  // Delivers a message to the bar; throws std::logic_error when the plug-in made no bar.
  int32_t Send(uint32_t message, uint32_t wparam, int32_t lparam = 0) const;

 private:
  static constexpr uint32_t kHeadlessMainWindow = 1;
  static constexpr uint32_t kBarWindow = 2;

  BarSite();
  static uint32_t LUMETRA_STDCALL BarCreated(uint32_t parent, abi::BarWindowProc procedure);
  static void LUMETRA_STDCALL BarPlaced(uint32_t window, int32_t left, int32_t top, int32_t width,
                                        int32_t height, int32_t shown);
  static void LUMETRA_STDCALL BarDestroyed(uint32_t window);

  bool open_ = false;
  uint32_t mainWindow_ = 0;
  abi::BarSiteRecord record_{};
  abi::BarWindowProc procedure_ = nullptr;
  uint32_t barWindow_ = 0;
  Placement placement_;
};

}  // namespace lumetra::host
