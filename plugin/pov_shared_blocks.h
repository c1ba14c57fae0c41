#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/pov_blocks.h"
#include "platform/shared_memory.h"

namespace lumetra::plugin {

// The two named blocks shared with POV-Ray's side of a render (abi/pov_blocks.h): a
// 36-byte control block and a display block that holds the job's picture.
class PovSharedBlocks {
 public:
  // Creates or opens both blocks, the control block first. A control block that
  // already existed keeps its contents. Returns false when the control block cannot
  // be had; a missing display block only disables POV-Ray jobs.
  bool Create();
  // Unmaps both views and closes their handles.
  void Release();

  bool HasControl() const { return control_.IsOpen(); }
  bool HasDisplay() const { return display_.IsOpen(); }
  uint32_t ControlField(size_t offset) const { return control_.LoadU32(offset); }
  void SetControlField(size_t offset, uint32_t value) { control_.StoreU32(offset, value); }
  uint32_t DisplayField(size_t offset) const { return display_.LoadU32(offset); }
  // Names the render window of the current POV-Ray job; 0 clears it.
  void SetPovWindow(uint32_t window) { SetControlField(abi::pov::kWindowField, window); }
  // Makes the blocks ready for a job's picture of `width` x `height`.
  void Prepare(int32_t width, int32_t height);
  // The job's picture, after the display block's head.
  unsigned char* DisplayPixels() const;

 private:
  platform::SharedMemory control_;
  platform::SharedMemory display_;
};

}  // namespace lumetra::plugin
