#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/shared_memory.h"

namespace lumetra::plugin {

// The two named blocks shared with POV-Ray's GUI extension: a 36-byte control block
// (nine u32 fields) and a display block with a 16-byte head and room for a
// 2048 x 2048 32-bit image.
class PovSharedBlocks {
 public:
  static constexpr const char* kControlName = "LumetraPOVGUIExt";
  static constexpr const char* kDisplayName = "LumetraPOVGUIExtDisplay";
  static constexpr size_t kControlSize = 36;
  static constexpr size_t kDisplaySize = 0x1000010;
  static constexpr size_t kDisplayImageOffset = 16;

  // Control block field offsets.
  static constexpr size_t kWindowField = 20;
  static constexpr size_t kWidthField = 24;
  static constexpr size_t kHeightField = 28;
  // Display block head: 0xFFFFFFFF while a job waits for its picture (the bridge sets 0
  // once the picture is in place), and the percentage POV-Ray reported so far.
  static constexpr size_t kPictureDueField = 0;
  static constexpr size_t kPercentField = 4;
  static constexpr uint32_t kPictureDue = 0xFFFFFFFF;
  // The most pixels the display block holds.
  static constexpr size_t kMaxPixels = (kDisplaySize - kDisplayImageOffset) / 4;

  // Creates or opens both blocks, the control block first. A control block that
  // already existed keeps its contents. Returns false when the control block cannot
  // be had; a missing display block only disables POV-Ray jobs.
  bool Create();
  // Unmaps both views and closes their handles.
  void Release();

  bool HasControl() const { return control_.IsOpen(); }
  bool HasDisplay() const { return display_.IsOpen(); }
  uint32_t ControlField(size_t offset) const;
  void SetControlField(size_t offset, uint32_t value);
  uint32_t DisplayField(size_t offset) const;
  void SetDisplayField(size_t offset, uint32_t value);
  // Names the render window of the current POV-Ray job; 0 clears it.
  void SetPovWindow(uint32_t window);
  // Makes the blocks ready for a job's picture of `width` x `height`.
  void Prepare(int32_t width, int32_t height);
  unsigned char* DisplayView() const;
  // The job's picture, at the display block's offset 16.
  unsigned char* DisplayPixels() const;

 private:
  platform::SharedMemory control_;
  platform::SharedMemory display_;
};

}  // namespace lumetra::plugin
