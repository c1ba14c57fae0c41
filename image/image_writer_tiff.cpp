#include <vector>

#include "image/image_tiff_stream.h"
#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"

namespace lumetra::image {
namespace {

constexpr int64_t kMaxTiffAllocation = int64_t{1} << 30;

[[noreturn]] void Fail(const image::TiffMessages& messages) {
  throw ImageWriteError("TIFF: " +
                        (messages.lastError.empty() ? std::string("write failed") : messages.lastError));
}

void SetTags(TIFF* tiff, const BgraPicture& picture) {
  const uint16_t alphaKind = EXTRASAMPLE_UNASSALPHA;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
  // The fourth sample is alpha, not premultiplied, so that readers keep it.
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &alphaKind);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
}

}  // namespace

void WriteTiff(std::FILE* file, const BgraPicture& picture) {
  image::TiffMessages messages;
  image::TiffHandle tiff = image::OpenTiffStream(file, "output", "w", messages, kMaxTiffAllocation);
  if (!tiff) Fail(messages);
  SetTags(tiff.get(), picture);
  std::vector<uint8_t> line(static_cast<size_t>(picture.width) * 4);
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t* source = TopDownRow(picture, y);
    for (size_t i = 0; i < line.size(); i += 4) {
      line[i] = source[i + 2];
      line[i + 1] = source[i + 1];
      line[i + 2] = source[i];
      line[i + 3] = source[i + 3];
    }
    if (TIFFWriteScanline(tiff.get(), line.data(), static_cast<uint32_t>(y), 0) != 1) Fail(messages);
  }
  if (TIFFFlush(tiff.get()) != 1) Fail(messages);
}

}  // namespace lumetra::image
