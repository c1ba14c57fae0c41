#include "plugin/pov_shared_blocks.h"

#include <cstring>
#include <system_error>

namespace lumetra::plugin {
namespace {

// The extension's own fields of a new control block start at zero; an existing block is
// another instance's state and stays as it is.
void ClearExtensionFields(unsigned char* control) {
  std::memset(control, 0, abi::pov::kWindowField + 4);
  std::memset(control + 32, 0, 4);
}

}  // namespace

bool PovSharedBlocks::Create() {
  std::error_code error;
  control_ = platform::SharedMemory::Create(abi::pov::kControlName, abi::pov::kControlSize, error);
  if (error || !control_.IsOpen()) return false;
  if (!control_.Existed()) ClearExtensionFields(static_cast<unsigned char*>(control_.Data()));
  // Without the display block the plug-in still starts; POV-Ray jobs then fail.
  display_ = platform::SharedMemory::Create(abi::pov::kDisplayName, abi::pov::kDisplaySize, error);
  return true;
}

void PovSharedBlocks::Release() {
  control_.Close();
  display_.Close();
}

void PovSharedBlocks::Prepare(int32_t width, int32_t height) {
  display_.StoreU32(abi::pov::kPictureDueField, abi::pov::kPictureDue);
  display_.StoreU32(abi::pov::kPercentField, 0);
  SetControlField(abi::pov::kWidthField, static_cast<uint32_t>(width));
  SetControlField(abi::pov::kHeightField, static_cast<uint32_t>(height));
}

unsigned char* PovSharedBlocks::DisplayPixels() const {
  return HasDisplay() ? static_cast<unsigned char*>(display_.Data()) + abi::pov::kDisplayImageOffset
                      : nullptr;
}

}  // namespace lumetra::plugin
