#include "image/jpeg_reader.h"

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>
#include <cstddef>
#include <cstdio>

namespace lumetra::image {
namespace {

constexpr char kLoadError[] = "JPEG Load Error";

// Replaces libjpeg's default of printing and ending the process.
[[noreturn]] void ThrowJpegError(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX] = {};
  (*info->err->format_message)(info, text);
  throw ImgLoadException(kLoadError, text);
}

void IgnoreJpegMessage(j_common_ptr) {}

class JpegDecompressor {
 public:
  JpegDecompressor() {
    info_.err = jpeg_std_error(&errors_);
    errors_.error_exit = ThrowJpegError;
    errors_.output_message = IgnoreJpegMessage;
    jpeg_create_decompress(&info_);
  }
  ~JpegDecompressor() { jpeg_destroy_decompress(&info_); }
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;

  jpeg_decompress_struct& info() { return info_; }

 private:
  jpeg_error_mgr errors_{};
  jpeg_decompress_struct info_{};
};

void DecodeJpeg(std::FILE* file, Image& image, const ImageLimits& limits) {
  JpegDecompressor decompressor;
  jpeg_decompress_struct& info = decompressor.info();
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    throw ImgLoadException(kLoadError, "CMYK images are not supported");
  }
  info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  // Refuse an oversized image before the library allocates for it.
  image.Allocate(static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height),
                 grey ? 1 : 3, limits);
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height ||
      info.output_components != image.BytesPerPixel()) {
    throw ImgLoadException(kLoadError, "unexpected output size");
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.Row(static_cast<int32_t>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  image.pixelKind = grey ? kSingleByte : kPackedColour;
}

}  // namespace

ReadResult ReadJpeg(std::FILE* file, Image& image, const ImageLimits& limits) {
  unsigned char marker[3];
  if (!ReadSignature(file, marker, sizeof marker) || marker[0] != 0xFF || marker[1] != 0xD8 ||
      marker[2] != 0xFF) {
    return ReadResult::NotThisFormat("Not a JPEG file");
  }
  return DecodeInto(image, [&](Image& decoded) { DecodeJpeg(file, decoded, limits); });
}

}  // namespace lumetra::image
