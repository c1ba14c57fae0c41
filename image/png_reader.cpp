#include "image/png_reader.h"

#include <png.h>

#include <vector>

namespace lumetra::image {
namespace {

constexpr char kLoadError[] = "PNG Load Error";
constexpr size_t kSignatureSize = 8;

[[noreturn]] void ThrowPngError(png_structp, png_const_charp message) {
  throw ImgLoadException(kLoadError, message != nullptr ? message : "");
}

void IgnorePngWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structures.
class PngReadStructs {
 public:
  PngReadStructs() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowPngError, IgnorePngWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
    if (info_ == nullptr) throw ImgLoadException(kLoadError, "libpng could not start");
  }
  ~PngReadStructs() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  PngReadStructs(const PngReadStructs&) = delete;
  PngReadStructs& operator=(const PngReadStructs&) = delete;

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

std::vector<uint8_t> PaletteAsBgr(png_structp png, png_infop info) {
  png_colorp entries = nullptr;
  int count = 0;
  png_get_PLTE(png, info, &entries, &count);
  std::vector<uint8_t> palette;
  for (int i = 0; i < count; ++i)
    palette.insert(palette.end(), {entries[i].blue, entries[i].green, entries[i].red});
  return palette;
}

// Sets libpng's transformations and returns the pixel kind they produce.
int32_t ChooseTransforms(png_structp png, png_infop info) {
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_interlace_handling(png);
  if (bitDepth == 16) png_set_swap(png);  // channels little-endian, as images keep them
  if (colourType == PNG_COLOR_TYPE_PALETTE && !transparency) {
    png_set_packing(png);
    return kPaletteIndex;
  }
  if (colourType == PNG_COLOR_TYPE_GRAY && !transparency && bitDepth <= 8) {
    png_set_expand_gray_1_2_4_to_8(png);
    return kSingleByte;
  }
  png_set_expand(png);  // palette to colour, low grey depths to 8 bits, tRNS to alpha
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const bool alpha = transparency || (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  return alpha ? kPackedColourAlpha : kPackedColour;
}

void DecodePng(std::FILE* file, Image& image, const ImageLimits& limits) {
  PngReadStructs structs;
  png_structp png = structs.png();
  png_infop info = structs.info();
  png_set_user_limits(png, static_cast<png_uint_32>(limits.maxSide),
                      static_cast<png_uint_32>(limits.maxSide));
  png_init_io(png, file);
  png_read_info(png, info);
  const bool palette = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
  const int32_t pixelKind = ChooseTransforms(png, info);
  png_read_update_info(png, info);

  const auto width = static_cast<int32_t>(png_get_image_width(png, info));
  const auto height = static_cast<int32_t>(png_get_image_height(png, info));
  const int32_t pixelBytes = png_get_channels(png, info) * (png_get_bit_depth(png, info) == 16 ? 2 : 1);
  image.Allocate(width, height, pixelBytes, limits);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * static_cast<size_t>(pixelBytes)) {
    throw ImgLoadException(kLoadError, "unexpected row size");
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = image.Row(y);
  png_read_image(png, rows.data());
  image.pixelKind = pixelKind;
  if (palette && pixelKind == kPaletteIndex) image.SetPalette(PaletteAsBgr(png, info));
}

}  // namespace

ReadResult ReadPng(std::FILE* file, Image& image, const ImageLimits& limits) {
  png_byte signature[kSignatureSize];
  if (!ReadSignature(file, signature, kSignatureSize) || png_sig_cmp(signature, 0, kSignatureSize) != 0) {
    return ReadResult::NotThisFormat("Not a PNG file");
  }
  return DecodeInto(image, [&](Image& decoded) { DecodePng(file, decoded, limits); });
}

}  // namespace lumetra::image
