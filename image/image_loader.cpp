#include "image/image_loader.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "image/bmp_reader.h"
#include "image/gif_reader.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/tga_reader.h"
#include "image/tiff_reader.h"

namespace lumetra::image {
namespace {

struct Reader {
  const char* format;
  ReadResult (*read)(std::FILE*, Image&, const ImageLimits&);
};

// The order matters: TGA has no signature, so the readers that check one come first.
constexpr Reader kReaders[] = {
    {"PNG", ReadPng},   {"GIF", ReadGif}, {"BMP", ReadBmp},
    {"JPEG", ReadJpeg}, {"TGA", ReadTga}, {"TIFF", ReadTiff},
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int LoadImageFromFile(Image& image, std::FILE* file, const std::string& fileName, LoadReport* report,
                      const ImageLimits& limits) {
  std::string firstFailure;
  for (const Reader& reader : kReaders) {
    const ReadResult result = reader.read(file, image, limits);
    if (result.IsLoaded()) {
      image.fileName = fileName;
      if (report != nullptr) *report = {reader.format, {}};
      return 1;
    }
    // The reader that recognised the file knows best what is wrong with it.
    if (result.status == ReadResult::Status::kFailed && firstFailure.empty()) firstFailure = result.message;
  }
  if (report != nullptr) {
    report->format.clear();
    report->error =
        fileName + ": " + (firstFailure.empty() ? "not an image format that can be read" : firstFailure);
  }
  return 0;
}

int LoadImage(Image& image, const std::string& fileName, LoadReport* report, const ImageLimits& limits) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) {
    if (report != nullptr) *report = {{}, fileName + ": cannot open: " + std::strerror(errno)};
    return 0;
  }
  return LoadImageFromFile(image, file.get(), fileName, report, limits);
}

}  // namespace lumetra::image
