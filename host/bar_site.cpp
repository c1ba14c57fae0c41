#include "host/bar_site.h"

namespace lumetra::host {

BarSite::BarSite() {
  record_.size = sizeof record_;
  record_.version = abi::kBarSiteVersion;
  record_.barCreated = BarCreated;
  record_.barPlaced = BarPlaced;
  record_.barDestroyed = BarDestroyed;
}

BarSite& BarSite::Instance() {
  static BarSite site;
  return site;
}

void BarSite::Open(uint32_t mainWindow) {
  open_ = true;
  mainWindow_ = mainWindow;
}

void BarSite::Close() {
  open_ = false;
  procedure_ = nullptr;
  barWindow_ = 0;
  placement_ = {};
}

int32_t BarSite::Send(uint32_t message, uint32_t wparam, int32_t lparam) const {
  if (!procedure_) throw std::logic_error("the plug-in has not created its control bar");
  return procedure_(barWindow_, message, wparam, lparam);
}

uint32_t LUMETRA_STDCALL BarSite::BarCreated(uint32_t parent, abi::BarWindowProc procedure) {
  BarSite& site = Instance();
  if (!site.open_ || parent != site.mainWindow_ || !procedure) return 0;
  site.procedure_ = procedure;
  site.barWindow_ = kBarWindow;
  return kBarWindow;
}

void LUMETRA_STDCALL BarSite::BarPlaced(uint32_t window, int32_t left, int32_t top, int32_t width,
                                        int32_t height, int32_t shown) {
  BarSite& site = Instance();
  if (window == site.barWindow_ && window != 0) site.placement_ = {left, top, width, height, shown != 0};
}

void LUMETRA_STDCALL BarSite::BarDestroyed(uint32_t window) {
  BarSite& site = Instance();
  if (window != site.barWindow_ || window == 0) return;
  site.procedure_ = nullptr;
  site.barWindow_ = 0;
  site.placement_ = {};
}

}  // namespace lumetra::host
