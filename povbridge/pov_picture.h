#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lumetra::povbridge {

// What became of a picture copied into the display block: the part that was copied, or
// why nothing was.
struct PovPictureCopy {
  std::string error;
  int32_t width = 0;
  int32_t height = 0;

  bool Ok() const { return error.empty(); }
};

// Copies the picture POV-Ray wrote to `fileName` into `pixels`, a job image of `width` x
// `height` in the job's layout (blue, green, red, alpha; bottom row first), with the two
// pictures' top left corners together. A larger picture is clipped; a smaller one fills
// what it covers and leaves the rest as it was. Never writes more than width x height x 4
// bytes. An unreadable file, a size that is not positive or `pixels` too small for the
// size changes nothing and gives the error.
PovPictureCopy CopyPovPicture(const std::string& fileName, std::span<uint8_t> pixels, int32_t width,
                              int32_t height);

}  // namespace lumetra::povbridge
