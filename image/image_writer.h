#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumetra::image {

// A picture laid out as the image buffer keeps it: blue, green, red, alpha bytes, rows
// stored bottom-up with no padding.
struct BgraPicture {
  std::span<const uint8_t> bottomUpBgra;
  int32_t width = 0;
  int32_t height = 0;
};

enum class ImageFileFormat { kBmp, kDib, kPng, kPpm, kTga, kTgaRle, kTiff };

// The format of a job's file output choice: 1 BMP, 2 DIB, 3 PNG, 4 PPM, 5 TGA, 7 TIFF;
// 6, 0 and anything else run-length TGA.
ImageFileFormat FormatForOutputChoice(int choice);
// ".bmp", ".dib", ".png", ".ppm", ".tga" (both TGA kinds) or ".tif".
const char* ExtensionOf(ImageFileFormat format);
// The format a file name's extension asks for (.bmp .dib .png .ppm .tga .tif .tiff, any
// case); `rleTga` picks run-length TGA for .tga. Empty for any other extension.
std::optional<ImageFileFormat> FormatForFileName(std::string_view fileName, bool rleTga);

class ImageWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `picture` to `path` in `format`. The bytes go to a temporary file beside
// `path` that replaces it only once complete, so a failure leaves whatever was there
// before. Throws ImageWriteError naming the file and the reason.
void WriteImageFile(const BgraPicture& picture, ImageFileFormat format, const std::string& path);

// A job's output file: `basePath` plus the extension of the output choice. Returns
// false (with the reason in `error`, when given) instead of throwing.
bool WriteOutputFile(const BgraPicture& picture, int outputChoice, const std::string& basePath,
                     std::string* error = nullptr);

}  // namespace lumetra::image
