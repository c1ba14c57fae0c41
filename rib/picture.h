// Rendered pictures kept until the whole file has been read, then written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_writer.h"

namespace lumetra::rib {

struct Picture {
  std::string path;
  image::ImageFileFormat format = image::ImageFileFormat::kTiff;
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // rows top-down, four floats a pixel
  bool keepAlpha = false;   // Display mode "rgba"; else the picture is opaque

  // Blue, green, red, alpha bytes, rows bottom-up, as the image writers take them.
  std::vector<uint8_t> BottomUpBgra() const;
};

// The format a Display names: "tiff" and "png" by type, anything else ("file",
// "framebuffer") by the name's extension, TIFF when the extension names no format.
image::ImageFileFormat FormatForDisplay(const std::string& name, const std::string& type);

// Writes each picture in turn; throws image::ImageWriteError for the first that fails.
void WritePictures(const std::vector<Picture>& pictures);

}  // namespace lumetra::rib
