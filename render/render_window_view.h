#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "render/image_buffer.h"

namespace lumetra::render {

// A job's render window in a real toolkit. Its calls come from the job's window and
// worker threads; an implementation hands them to its own GUI thread and never blocks
// on it. Destroying the view closes the window.
class RenderWindowView {
 public:
  virtual ~RenderWindowView() = default;

  // Shows the window, raised but without taking the keyboard focus; it is made hidden.
  virtual void Show() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetStatus(int32_t part, const std::string& text) = 0;
  // `changed` of the picture became new. `pixels` is the whole picture of `width` by
  // `height` (rows bottom-up, blue, green, red, alpha) and only valid during the call.
  virtual void Paint(const PixelRect& changed, const uint8_t* pixels, int32_t width, int32_t height) = 0;
};

// Makes render windows; callable from any thread.
class RenderWindowMaker {
 public:
  virtual ~RenderWindowMaker() = default;

  // A window of `width` by `height` pixels of picture owned by the host window `parent`
  // (0: none). `closed` runs on the toolkit's thread when the user closes the window.
  virtual std::unique_ptr<RenderWindowView> MakeRenderWindow(uint32_t parent, const std::string& title,
                                                             int32_t width, int32_t height,
                                                             std::function<void()> closed) = 0;
};

}  // namespace lumetra::render
