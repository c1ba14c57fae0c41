#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"
#include "platform/thread_count.h"

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

// A fast deflate level: rendered pictures compress nearly as well, in a fraction of the time
// that dominated writing a large picture.
constexpr int kDeflateLevel = 1;
constexpr int kBytesPerPixel = 4;
// Bands shorter than this are not worth a thread of their own.
constexpr int32_t kFewestRowsPerBand = 64;

// One band of rows as PNG rows (a "Sub" filter byte, then red, green, blue and alpha, each less
// the byte one pixel to the left), deflated without a zlib header. Every band but the last ends
// with a sync flush, which closes its deflate blocks on a byte boundary: the bands then join
// into one deflate stream.
struct Band {
  int32_t firstRow = 0, endRow = 0;
  bool last = false;
  std::vector<uint8_t> deflated;
  uLong adler = 0;
  uLong filteredBytes = 0;
  bool failed = false;
};

std::vector<uint8_t> FilteredRows(const BgraPicture& picture, int32_t firstRow, int32_t endRow) {
  const size_t rowBytes = 1 + static_cast<size_t>(picture.width) * kBytesPerPixel;
  std::vector<uint8_t> out(rowBytes * static_cast<size_t>(endRow - firstRow));
  uint8_t* to = out.data();
  for (int32_t y = firstRow; y < endRow; ++y) {
    const uint8_t* bgra = TopDownRow(picture, y);
    *to++ = PNG_FILTER_VALUE_SUB;
    uint8_t left[kBytesPerPixel] = {0, 0, 0, 0};
    for (int32_t x = 0; x < picture.width; ++x, bgra += kBytesPerPixel, to += kBytesPerPixel) {
      const uint8_t rgba[kBytesPerPixel] = {bgra[2], bgra[1], bgra[0], bgra[3]};
      for (int c = 0; c < kBytesPerPixel; ++c) {
        to[c] = static_cast<uint8_t>(rgba[c] - left[c]);
        left[c] = rgba[c];
      }
    }
  }
  return out;
}

void DeflateBand(const BgraPicture& picture, Band& band) {
  std::vector<uint8_t> filtered = FilteredRows(picture, band.firstRow, band.endRow);
  band.filteredBytes = static_cast<uLong>(filtered.size());
  band.adler = adler32(adler32(0, nullptr, 0), filtered.data(), static_cast<uInt>(filtered.size()));
  z_stream stream{};
  if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    band.failed = true;
    return;
  }
  // Room for the worst case and the flush's closing bytes.
  band.deflated.resize(deflateBound(&stream, band.filteredBytes) + 16);
  stream.next_in = filtered.data();
  stream.avail_in = static_cast<uInt>(filtered.size());
  stream.next_out = band.deflated.data();
  stream.avail_out = static_cast<uInt>(band.deflated.size());
  const int result = deflate(&stream, band.last ? Z_FINISH : Z_SYNC_FLUSH);
  band.failed = result != (band.last ? Z_STREAM_END : Z_OK) || stream.avail_in != 0;
  band.deflated.resize(stream.total_out);
  deflateEnd(&stream);
}

// The picture's image data as one zlib stream, its bands deflated on as many threads as the
// process may use.
std::vector<uint8_t> ImageData(const BgraPicture& picture) {
  const int32_t bandCount = std::clamp(picture.height / kFewestRowsPerBand, 1, platform::ThreadsToUse());
  std::vector<Band> bands(static_cast<size_t>(bandCount));
  for (int32_t k = 0; k < bandCount; ++k) {
    Band& band = bands[static_cast<size_t>(k)];
    band.firstRow = static_cast<int32_t>(int64_t{picture.height} * k / bandCount);
    band.endRow = static_cast<int32_t>(int64_t{picture.height} * (k + 1) / bandCount);
    band.last = k + 1 == bandCount;
  }
  {
    std::vector<std::jthread> helpers;
    for (size_t k = 1; k < bands.size(); ++k)
      helpers.emplace_back([&picture, &band = bands[k]] { DeflateBand(picture, band); });
    DeflateBand(picture, bands.front());
  }
  // A zlib header for a fast level with a 32 KiB window; its check bits make it a multiple of 31.
  std::vector<uint8_t> data = {0x78, 0x01};
  uLong adler = adler32(0, nullptr, 0);
  for (const Band& band : bands) {
    if (band.failed) throw ImageWriteError("PNG: compressing the picture failed");
    data.insert(data.end(), band.deflated.begin(), band.deflated.end());
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.filteredBytes));
  }
  for (int shift = 24; shift >= 0; shift -= 8) data.push_back(static_cast<uint8_t>(adler >> shift));
  return data;
}

}  // namespace

void WritePng(std::FILE* file, const BgraPicture& picture) {
  const std::vector<uint8_t> data = ImageData(picture);
  PngWriteStructs structs;
  png_structp png = structs.png();
  png_infop info = structs.info();
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
               8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // libpng writes the signature and header; the image data is made above, on every core.
  static constexpr png_byte kIdat[5] = "IDAT";
  static constexpr png_byte kIend[5] = "IEND";
  png_write_chunk(png, kIdat, data.data(), data.size());
  png_write_chunk(png, kIend, nullptr, 0);
  png_write_flush(png);
}

}  // namespace lumetra::image
