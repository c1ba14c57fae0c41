#include "plugin/pov_shared_blocks.h"

#include <cstring>
#include <system_error>

namespace lumetra::plugin {
namespace {

// The extension's own fields of a new control block start at zero; an existing block is
// another instance's state and stays as it is.
void ClearExtensionFields(unsigned char* control) {
  std::memset(control, 0, PovSharedBlocks::kWindowField + 4);
  std::memset(control + 32, 0, 4);
}

}  // namespace

bool PovSharedBlocks::Create() {
  std::error_code error;
  control_ = platform::SharedMemory::Create(kControlName, kControlSize, error);
  if (error || !control_.IsOpen()) return false;
  if (!control_.Existed()) ClearExtensionFields(static_cast<unsigned char*>(control_.Data()));
  // Without the display block the plug-in still starts; POV-Ray jobs then fail.
  display_ = platform::SharedMemory::Create(kDisplayName, kDisplaySize, error);
  return true;
}

void PovSharedBlocks::Release() {
  control_.Close();
  display_.Close();
}

uint32_t PovSharedBlocks::ControlField(size_t offset) const {
  uint32_t value = 0;
  if (HasControl()) {
    std::memcpy(&value, static_cast<const unsigned char*>(control_.Data()) + offset, 4);
  }
  return value;
}

void PovSharedBlocks::SetControlField(size_t offset, uint32_t value) {
  if (HasControl()) std::memcpy(static_cast<unsigned char*>(control_.Data()) + offset, &value, 4);
}

void PovSharedBlocks::SetPovWindow(uint32_t window) { SetControlField(kWindowField, window); }

unsigned char* PovSharedBlocks::DisplayView() const {
  return HasDisplay() ? static_cast<unsigned char*>(display_.Data()) : nullptr;
}

}  // namespace lumetra::plugin
