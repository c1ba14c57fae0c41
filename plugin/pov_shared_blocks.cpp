#include "plugin/pov_shared_blocks.h"

#include <atomic>
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

// The blocks are shared with another process without a lock: each field is read and
// written whole, as one aligned 32-bit value.
uint32_t LoadField(const platform::SharedMemory& block, size_t offset) {
  if (!block.IsOpen()) return 0;
  return std::atomic_ref(*reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(block.Data()) + offset))
      .load();
}

void StoreField(const platform::SharedMemory& block, size_t offset, uint32_t value) {
  if (!block.IsOpen()) return;
  std::atomic_ref(*reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(block.Data()) + offset))
      .store(value);
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

uint32_t PovSharedBlocks::ControlField(size_t offset) const { return LoadField(control_, offset); }

void PovSharedBlocks::SetControlField(size_t offset, uint32_t value) { StoreField(control_, offset, value); }

uint32_t PovSharedBlocks::DisplayField(size_t offset) const { return LoadField(display_, offset); }

void PovSharedBlocks::SetDisplayField(size_t offset, uint32_t value) { StoreField(display_, offset, value); }

void PovSharedBlocks::SetPovWindow(uint32_t window) { SetControlField(kWindowField, window); }

void PovSharedBlocks::Prepare(int32_t width, int32_t height) {
  SetDisplayField(kPictureDueField, kPictureDue);
  SetDisplayField(kPercentField, 0);
  SetControlField(kWidthField, static_cast<uint32_t>(width));
  SetControlField(kHeightField, static_cast<uint32_t>(height));
}

unsigned char* PovSharedBlocks::DisplayView() const {
  return HasDisplay() ? static_cast<unsigned char*>(display_.Data()) : nullptr;
}

unsigned char* PovSharedBlocks::DisplayPixels() const {
  return HasDisplay() ? DisplayView() + kDisplayImageOffset : nullptr;
}

}  // namespace lumetra::plugin
