#include <png.h>

#include <vector>

#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"

namespace lumetra::image {
namespace {

[[noreturn]] void ThrowPngError(png_structp, png_const_charp message) {
  throw ImageWriteError(std::string("PNG: ") + (message != nullptr ? message : "write failed"));
}

void IgnorePngWarning(png_structp, png_const_charp) {}

class PngWriteStructs {
 public:
  PngWriteStructs() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowPngError, IgnorePngWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
    if (info_ == nullptr) throw ImageWriteError("PNG: libpng could not start");
  }
  ~PngWriteStructs() { png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr); }
  PngWriteStructs(const PngWriteStructs&) = delete;
  PngWriteStructs& operator=(const PngWriteStructs&) = delete;

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

constexpr int kDeflateLevel = 1;
constexpr int kRowFilters = PNG_FILTER_SUB;

}  // namespace

void WritePng(std::FILE* file, const BgraPicture& picture) {
  PngWriteStructs structs;
  png_structp png = structs.png();
  png_infop info = structs.info();
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
               8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // A fast deflate level: rendered pictures compress nearly as well, in a fraction of the
  // time that dominated writing a large picture.
  png_set_compression_level(png, kDeflateLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilters);
  png_write_info(png, info);
  png_set_bgr(png);  // the library swaps blue and red on the way out
  std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
  for (int32_t y = 0; y < picture.height; ++y) {
    // libpng copies each row before transforming it; the picture is not written to.
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(TopDownRow(picture, y));
  }
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
}

}  // namespace lumetra::image
