#include "image/tiff_reader.h"

#include <utility>
#include <vector>

#include "image/image_tiff_stream.h"

namespace lumetra::image {
namespace {

constexpr char kLoadError[] = "TIFF Load Error";

bool HasAlphaSample(TIFF* tiff) {
  uint16_t count = 0;
  uint16_t* kinds = nullptr;
  if (TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) != 1) return false;
  for (uint16_t i = 0; i < count; ++i) {
    if (kinds[i] == EXTRASAMPLE_ASSOCALPHA || kinds[i] == EXTRASAMPLE_UNASSALPHA) return true;
  }
  return false;
}

// Plain 8-bit RGB or RGBA strips stored top or bottom row first are read as they are,
// so that unassociated alpha keeps its colours exactly.
bool IsPlainRgb(TIFF* tiff, uint16_t& samples, uint16_t& orientation) {
  uint16_t bits = 0;
  uint16_t planar = 0;
  uint16_t photometric = 0;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  const bool known = TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) == 1;
  return known && photometric == PHOTOMETRIC_RGB && bits == 8 && planar == PLANARCONFIG_CONTIG &&
         (samples == 3 || samples == 4) && !TIFFIsTiled(tiff) &&
         (orientation == ORIENTATION_TOPLEFT || orientation == ORIENTATION_BOTLEFT);
}

void ReadPlainRgb(TIFF* tiff, uint16_t samples, const TiffMessages& messages, Image& image) {
  const auto width = static_cast<size_t>(image.Width());
  if (TIFFScanlineSize64(tiff) != static_cast<uint64_t>(width * samples)) {
    throw ImgLoadException(kLoadError, "unexpected scanline size");
  }
  std::vector<uint8_t> line(width * samples);
  for (int32_t y = 0; y < image.Height(); ++y) {
    if (TIFFReadScanline(tiff, line.data(), static_cast<uint32_t>(y), 0) != 1) {
      throw ImgLoadException(kLoadError, messages.lastError);
    }
    uint8_t* target = image.Row(y);
    for (size_t x = 0; x < width; ++x, target += 4) {
      const uint8_t* source = &line[x * samples];
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      target[3] = samples == 4 ? source[3] : 255;
    }
  }
}

// Everything else through libtiff's RGBA raster (which premultiplies unassociated alpha).
void ReadRaster(TIFF* tiff, const TiffMessages& messages, Image& image) {
  const auto width = static_cast<uint32_t>(image.Width());
  const auto height = static_cast<uint32_t>(image.Height());
  std::vector<uint32_t> raster;
  try {
    raster.resize(static_cast<size_t>(width) * height);
  } catch (const std::bad_alloc&) {
    throw ImgLoadException("Out of memory");
  }
  if (TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 0) != 1) {
    throw ImgLoadException(kLoadError, messages.lastError);
  }
  // Raster words hold red in the low byte; images keep blue first.
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* target = image.Row(static_cast<int32_t>(y));
    for (uint32_t x = 0; x < width; ++x, target += 4) {
      const uint32_t pixel = raster[static_cast<size_t>(y) * width + x];
      target[0] = static_cast<uint8_t>(TIFFGetB(pixel));
      target[1] = static_cast<uint8_t>(TIFFGetG(pixel));
      target[2] = static_cast<uint8_t>(TIFFGetR(pixel));
      target[3] = static_cast<uint8_t>(TIFFGetA(pixel));
    }
  }
}

void DecodeTiff(std::FILE* file, Image& image, const ImageLimits& limits) {
  TiffMessages messages;
  const int64_t maxAllocation = static_cast<int64_t>(limits.maxPixels) * 4;
  const TiffHandle tiff = OpenTiffStream(file, "image", "r", messages, maxAllocation);
  if (!tiff) throw ImgLoadException(kLoadError, messages.lastError);
  uint32_t width = 0;
  uint32_t height = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  if (width > static_cast<uint32_t>(INT32_MAX) || height > static_cast<uint32_t>(INT32_MAX)) {
    throw ImgLoadException("Image too large");
  }
  image.Allocate(static_cast<int32_t>(width), static_cast<int32_t>(height), 4, limits);
  uint16_t samples = 0;
  uint16_t orientation = 0;
  if (IsPlainRgb(tiff.get(), samples, orientation)) {
    ReadPlainRgb(tiff.get(), samples, messages, image);
    image.layoutFlags = orientation == ORIENTATION_BOTLEFT ? kRowsBottomUp : 0;
  } else {
    ReadRaster(tiff.get(), messages, image);
  }
  image.pixelKind = HasAlphaSample(tiff.get()) ? kPackedColourAlpha : kPackedColour;
}

}  // namespace

ReadResult ReadTiff(std::FILE* file, Image& image, const ImageLimits& limits) {
  unsigned char magic[4];
  const bool byteOrderMark = ReadSignature(file, magic, sizeof magic) && magic[0] == magic[1] &&
                             (magic[0] == 'I' || magic[0] == 'M');
  if (!byteOrderMark) return ReadResult::NotThisFormat("Not a TIFF file");
  return DecodeInto(image, [&](Image& decoded) { DecodeTiff(file, decoded, limits); });
}

}  // namespace lumetra::image
